#include "overlay/PlayerOverlay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A window that records what the overlay logic asks of it. Its client origin is its top-left
// corner (an overlay has no frame), so screen and client points differ by the window position.
class CFakeOverlay final : public CPlayerOverlay {
public:
    sPoint m_ptWindow{200, 100};
    sRect m_rcClient{0, 0, kOverlayWidth, kOverlayHeight};
    sPoint m_ptCursor{0, 0};
    bool m_bVisible = true;
    bool m_bCaptured = false;
    int m_nTimerMs = 0;  // 0: not running
    std::vector<std::string> m_aCalls;

    void Show() override { m_aCalls.emplace_back("show"); }
    void Hide() override { m_aCalls.emplace_back("hide"); }
    void Repaint() override { m_aCalls.emplace_back("repaint"); }
    void StartStateTimer(int ms) override {
        m_nTimerMs = ms;
        m_aCalls.emplace_back("timer " + std::to_string(ms));
    }
    void StopStateTimer() override {
        m_nTimerMs = 0;
        m_aCalls.emplace_back("stop timer");
    }
    void MoveHidden(sPoint topLeft) override { m_ptWindow = topLeft; }
    sRect ScreenRect() const override {
        return {m_ptWindow.x, m_ptWindow.y, m_ptWindow.x + kOverlayWidth,
                m_ptWindow.y + kOverlayHeight};
    }
    void KeepOnTop(bool) override {}

    // Mouse input as the window delivers it: presses in client coordinates, the rest on screen.
    void PressAt(sPoint screen) {
        OnLeftButtonDown({screen.x - m_ptWindow.x, screen.y - m_ptWindow.y});
    }
    void MoveCursor(sPoint screen) {
        m_ptCursor = screen;
        OnMouseMove(screen);
    }

protected:
    void CaptureMouse() override { m_bCaptured = true; }
    void ReleaseMouse() override { m_bCaptured = false; }
    bool HasMouseCapture() const override { return m_bCaptured; }
    sPoint CursorScreenPos() const override { return m_ptCursor; }
    sPoint ScreenToClient(sPoint screen) const override {
        return {screen.x - m_ptWindow.x, screen.y - m_ptWindow.y};
    }
    sRect ClientRect() const override { return m_rcClient; }
    bool IsVisible() const override { return m_bVisible; }
    void MoveTo(sPoint topLeft) override {
        m_ptWindow = topLeft;
        m_aCalls.emplace_back("move " + std::to_string(topLeft.x) + "," +
                              std::to_string(topLeft.y));
    }
    void ResizeInPlace() override { m_aCalls.emplace_back("resize"); }
};

using Calls = std::vector<std::string>;

TEST(OverlayText, SetTextReportsOnlyRealChanges) {
    CFakeOverlay overlay;
    EXPECT_FALSE(overlay.SetText(0, ""));  // equal to the initial empty text
    EXPECT_TRUE(overlay.SetText(0, "23/11/30"));
    EXPECT_FALSE(overlay.SetText(0, "23/11/30"));
    EXPECT_TRUE(overlay.SetText(0, "23/11/31"));
    EXPECT_TRUE(overlay.SetText(0, "23/11/31 "));  // byte for byte, trailing blanks count
    EXPECT_TRUE(overlay.SetText(3, "VPIP"));
    EXPECT_TRUE(overlay.SetText(3, "vpip"));  // case-sensitive
    EXPECT_TRUE(overlay.SetText(3, ""));
    EXPECT_EQ(overlay.m_strText[0], "23/11/31 ");
    EXPECT_EQ(overlay.m_strText[3], "");
    // Variants are independent: the same text in another slot is a change there.
    EXPECT_TRUE(overlay.SetText(1, "23/11/31 "));
    // Setting texts never paints; the HUD decides.
    EXPECT_TRUE(overlay.m_aCalls.empty());
}

TEST(OverlayText, OutOfRangeIndexIsIgnored) {
    CFakeOverlay overlay;
    EXPECT_FALSE(overlay.SetText(-1, "x"));
    EXPECT_FALSE(overlay.SetText(4, "x"));
    for (const std::string& text : overlay.m_strText) {
        EXPECT_EQ(text, "");
    }
}

TEST(OverlayText, ShownTextFollowsTheState) {
    CFakeOverlay overlay;
    for (int i = 0; i < kOverlayStateCount; ++i) {
        overlay.SetText(i, "text " + std::to_string(i));
    }
    for (int state = 0; state < kOverlayStateCount; ++state) {
        overlay.m_nState = state;
        EXPECT_EQ(overlay.ShownText(), "text " + std::to_string(state));
    }
    overlay.m_nState = 7;  // never set by the program; must not read past the array
    EXPECT_EQ(overlay.ShownText(), "text 0");
}

TEST(OverlayHover, FirstMovementShowsHoverTextAndEveryMovementRearmsTheTimer) {
    CFakeOverlay overlay;
    overlay.MoveCursor({210, 110});
    EXPECT_EQ(overlay.m_nState, OVERLAY_HOVER);
    EXPECT_EQ(overlay.m_aCalls, (Calls{"resize", "repaint", "timer 175"}));

    overlay.m_aCalls.clear();
    overlay.MoveCursor({220, 112});  // already hovering: no repaint, timer restarted
    EXPECT_EQ(overlay.m_nState, OVERLAY_HOVER);
    EXPECT_EQ(overlay.m_aCalls, (Calls{"resize", "timer 175"}));
}

TEST(OverlayHover, NamesStatesMoveToTheirHoverCounterpart) {
    CFakeOverlay overlay;
    overlay.m_nState = OVERLAY_NAMES;
    overlay.MoveCursor({210, 110});
    EXPECT_EQ(overlay.m_nState, OVERLAY_HOVER_NAMES);
    overlay.MoveCursor({211, 110});
    EXPECT_EQ(overlay.m_nState, OVERLAY_HOVER_NAMES);
}

TEST(OverlayHover, TimerSettlesStateByCursorPosition) {
    CFakeOverlay overlay;  // window at (200, 100), 122 x 39
    struct Case {
        sPoint cursor;
        int32_t stateBefore = 0;
        int32_t stateAfter = 0;
    };
    const Case cases[] = {
        {{250, 120}, OVERLAY_NORMAL, OVERLAY_HOVER},        // still over it: stays hovering
        {{250, 120}, OVERLAY_HOVER_NAMES, OVERLAY_HOVER},   // names end even while inside
        {{200, 100}, OVERLAY_NAMES, OVERLAY_HOVER},         // top-left pixel is inside
        {{321, 138}, OVERLAY_HOVER, OVERLAY_HOVER},         // bottom-right pixel is inside
        {{322, 120}, OVERLAY_HOVER, OVERLAY_NORMAL},        // right edge is outside
        {{250, 139}, OVERLAY_HOVER, OVERLAY_NORMAL},        // bottom edge is outside
        {{199, 120}, OVERLAY_HOVER_NAMES, OVERLAY_NORMAL},  // left of it
        {{900, 900}, OVERLAY_HOVER, OVERLAY_NORMAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.cursor.x) + "," + std::to_string(c.cursor.y));
        overlay.m_nState = c.stateBefore;
        overlay.m_ptCursor = c.cursor;
        overlay.m_nTimerMs = kOverlayKeyStateMs;
        overlay.m_aCalls.clear();
        overlay.OnHoverTimer();
        EXPECT_EQ(overlay.m_nState, c.stateAfter);
        // Inside, the check goes on; outside, it ends.
        const bool inside = c.stateAfter == OVERLAY_HOVER;
        EXPECT_EQ(overlay.m_aCalls,
                  (Calls{"resize", "repaint", inside ? "timer 175" : "stop timer"}));
        EXPECT_EQ(overlay.m_nTimerMs, inside ? kOverlayHoverRecheckMs : 0);
    }
}

TEST(OverlayHover, PointerThatRestsAndThenLeavesInOneMoveEndsTheHoverText) {
    CFakeOverlay overlay;
    overlay.MoveCursor({250, 120});
    overlay.OnHoverTimer();  // resting: no movement message, the check goes on
    overlay.OnHoverTimer();
    EXPECT_EQ(overlay.m_nState, OVERLAY_HOVER);
    ASSERT_EQ(overlay.m_nTimerMs, kOverlayHoverRecheckMs);
    overlay.m_ptCursor = {900, 500};  // gone in one move: this window hears nothing of it
    overlay.OnHoverTimer();
    EXPECT_EQ(overlay.m_nState, OVERLAY_NORMAL);
    EXPECT_EQ(overlay.m_nTimerMs, 0);
}

TEST(OverlayHover, TimerOnHiddenOverlayChangesStateWithoutShowingIt) {
    CFakeOverlay overlay;
    overlay.m_bVisible = false;
    overlay.m_nState = OVERLAY_NAMES;
    overlay.m_ptCursor = {0, 0};
    overlay.OnHoverTimer();
    EXPECT_EQ(overlay.m_nState, OVERLAY_NORMAL);
    // Resizing would show the window (the HUD hid it on purpose).
    EXPECT_EQ(overlay.m_aCalls, (Calls{"stop timer"}));
}

TEST(OverlayHover, PassingAcrossReturnsToMainTextWhenTheTimerFires) {
    CFakeOverlay overlay;
    overlay.MoveCursor({205, 120});
    overlay.MoveCursor({260, 120});
    overlay.m_ptCursor = {400, 120};  // the cursor left; no message reaches the overlay
    overlay.OnHoverTimer();
    EXPECT_EQ(overlay.m_nState, OVERLAY_NORMAL);
}

TEST(OverlayDrag, GrabbedPointStaysUnderTheCursor) {
    CFakeOverlay overlay;  // window at (200, 100)
    overlay.m_nState = OVERLAY_HOVER;
    overlay.PressAt({230, 110});  // grabbed 30, 10 pixels into the panel
    EXPECT_EQ(overlay.m_ptDragOffset, (sPoint{-30, -10}));

    overlay.m_aCalls.clear();
    overlay.MoveCursor({500, 300});
    EXPECT_EQ(overlay.m_aCalls, (Calls{"move 470,290"}));  // no timer, no repaint while dragging
    EXPECT_EQ(overlay.m_nState, OVERLAY_NORMAL);           // hover text gives way at once
    overlay.MoveCursor({20, 5});  // towards the corner: may go to negative coordinates
    EXPECT_EQ(overlay.m_ptWindow, (sPoint{-10, -5}));
    EXPECT_FALSE(overlay.m_bMoved);  // only the release counts as a finished drag

    overlay.m_aCalls.clear();
    overlay.OnLeftButtonUp({640, 480});
    EXPECT_EQ(overlay.m_aCalls, (Calls{"repaint", "move 610,470"}));
    EXPECT_EQ(overlay.m_nState, OVERLAY_NORMAL);
    EXPECT_TRUE(overlay.m_bMoved);

    // After release, moving the mouse hovers again instead of dragging.
    overlay.m_aCalls.clear();
    overlay.MoveCursor({650, 480});
    EXPECT_EQ(overlay.m_aCalls, (Calls{"resize", "repaint", "timer 175"}));
    EXPECT_EQ(overlay.m_ptWindow, (sPoint{610, 470}));
}

TEST(OverlayDrag, NamesSurviveDraggingButNotTheRelease) {
    CFakeOverlay overlay;
    overlay.m_nState = OVERLAY_HOVER_NAMES;
    overlay.PressAt({201, 101});
    overlay.MoveCursor({300, 300});
    EXPECT_EQ(overlay.m_nState, OVERLAY_NAMES);
    overlay.MoveCursor({310, 300});
    EXPECT_EQ(overlay.m_nState, OVERLAY_NAMES);
    overlay.OnLeftButtonUp({310, 300});
    EXPECT_EQ(overlay.m_nState, OVERLAY_NORMAL);
}

TEST(OverlayDrag, OnlyADragThatEndsElsewhereIsAMove) {
    // A click leaves the window and the stored layout alone.
    CFakeOverlay overlay;
    overlay.PressAt({250, 120});
    overlay.OnLeftButtonUp({250, 120});
    EXPECT_EQ(overlay.m_ptWindow, (sPoint{200, 100}));
    EXPECT_FALSE(overlay.m_bMoved);

    // Dragged away and back to where it began: nothing to store either.
    overlay.PressAt({250, 120});
    overlay.MoveCursor({400, 300});
    overlay.MoveCursor({250, 120});
    overlay.OnLeftButtonUp({250, 120});
    EXPECT_FALSE(overlay.m_bMoved);

    // A real drag is noted, and a click before the HUD has saved it does not undo the note.
    overlay.PressAt({250, 120});
    overlay.OnLeftButtonUp({251, 120});
    EXPECT_TRUE(overlay.m_bMoved);
    overlay.PressAt({251, 120});
    overlay.OnLeftButtonUp({251, 120});
    EXPECT_TRUE(overlay.m_bMoved);
    EXPECT_EQ(overlay.m_ptWindow, (sPoint{201, 100}));
}

TEST(OverlayPaint, PanelAndTextRectangle) {
    EXPECT_EQ(PanelForClientHeight(kOverlayHeight), ePanelBitmap::Small);
    EXPECT_EQ(PanelForClientHeight(40), ePanelBitmap::Small);
    EXPECT_EQ(PanelForClientHeight(41), ePanelBitmap::Tall);  // template height, large fonts
    EXPECT_EQ(PanelForClientHeight(0), ePanelBitmap::Small);
    EXPECT_EQ(OverlayTextRect({0, 0, 122, 39}), (sRect{0, -1, 122, 38}));
}

}  // namespace
