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
    // Starts a case in `state`, reached the way the keys reach it, with no calls recorded.
    void StartIn(eOverlayState state) {
        HoldState(*this, state);
        m_aCalls.clear();
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
    EXPECT_EQ(overlay.Texts()[0], "23/11/31 ");
    EXPECT_EQ(overlay.Texts()[3], "");
    // Variants are independent: the same text in another slot is a change there.
    EXPECT_TRUE(overlay.SetText(1, "23/11/31 "));
    // Setting texts never paints; the HUD decides.
    EXPECT_TRUE(overlay.m_aCalls.empty());
}

TEST(OverlayText, OutOfRangeIndexIsIgnored) {
    CFakeOverlay overlay;
    EXPECT_FALSE(overlay.SetText(-1, "x"));
    EXPECT_FALSE(overlay.SetText(4, "x"));
    for (const std::string& text : overlay.Texts()) {
        EXPECT_EQ(text, "");
    }
}

TEST(OverlayText, ShownTextFollowsTheState) {
    CFakeOverlay overlay;
    for (int i = 0; i < kOverlayStateCount; ++i) {
        overlay.SetText(i, "text " + std::to_string(i));
    }
    for (int state = 0; state < kOverlayStateCount; ++state) {
        overlay.StartIn(static_cast<eOverlayState>(state));
        EXPECT_EQ(overlay.ShownText(), "text " + std::to_string(state));
    }
}

TEST(OverlayHover, FirstMovementShowsHoverTextAndEveryMovementRearmsTheTimer) {
    CFakeOverlay overlay;
    overlay.MoveCursor({210, 110});
    EXPECT_EQ(overlay.State(), OVERLAY_HOVER);
    EXPECT_EQ(overlay.m_aCalls, (Calls{"resize", "repaint", "timer 175"}));

    overlay.m_aCalls.clear();
    overlay.MoveCursor({220, 112});  // already hovering: no repaint, timer restarted
    EXPECT_EQ(overlay.State(), OVERLAY_HOVER);
    EXPECT_EQ(overlay.m_aCalls, (Calls{"resize", "timer 175"}));
}

TEST(OverlayHover, NamesStatesMoveToTheirHoverCounterpart) {
    CFakeOverlay overlay;
    overlay.StartIn(OVERLAY_NAMES);
    overlay.MoveCursor({210, 110});
    EXPECT_EQ(overlay.State(), OVERLAY_HOVER_NAMES);
    overlay.MoveCursor({211, 110});
    EXPECT_EQ(overlay.State(), OVERLAY_HOVER_NAMES);
}

TEST(OverlayHover, TimerSettlesStateByCursorPosition) {
    CFakeOverlay overlay;  // window at (200, 100), 122 x 39
    struct Case {
        sPoint cursor;
        eOverlayState stateBefore = OVERLAY_NORMAL;
        eOverlayState stateAfter = OVERLAY_NORMAL;
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
        overlay.StartIn(c.stateBefore);
        overlay.m_ptCursor = c.cursor;
        overlay.m_nTimerMs = kOverlayKeyStateMs;
        overlay.m_aCalls.clear();
        overlay.OnHoverTimer();
        EXPECT_EQ(overlay.State(), c.stateAfter);
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
    EXPECT_EQ(overlay.State(), OVERLAY_HOVER);
    ASSERT_EQ(overlay.m_nTimerMs, kOverlayHoverRecheckMs);
    overlay.m_ptCursor = {900, 500};  // gone in one move: this window hears nothing of it
    overlay.OnHoverTimer();
    EXPECT_EQ(overlay.State(), OVERLAY_NORMAL);
    EXPECT_EQ(overlay.m_nTimerMs, 0);
}

TEST(OverlayHover, TimerOnHiddenOverlayChangesStateWithoutShowingIt) {
    CFakeOverlay overlay;
    overlay.m_bVisible = false;
    overlay.StartIn(OVERLAY_NAMES);
    overlay.m_ptCursor = {0, 0};
    overlay.OnHoverTimer();
    EXPECT_EQ(overlay.State(), OVERLAY_NORMAL);
    // Resizing would show the window (the HUD hid it on purpose).
    EXPECT_EQ(overlay.m_aCalls, (Calls{"stop timer"}));
}

TEST(OverlayHover, PassingAcrossReturnsToMainTextWhenTheTimerFires) {
    CFakeOverlay overlay;
    overlay.MoveCursor({205, 120});
    overlay.MoveCursor({260, 120});
    overlay.m_ptCursor = {400, 120};  // the cursor left; no message reaches the overlay
    overlay.OnHoverTimer();
    EXPECT_EQ(overlay.State(), OVERLAY_NORMAL);
}

TEST(OverlayDrag, GrabbedPointStaysUnderTheCursor) {
    CFakeOverlay overlay;  // window at (200, 100)
    overlay.StartIn(OVERLAY_HOVER);
    overlay.PressAt({230, 110});  // grabbed 30, 10 pixels into the panel
    EXPECT_EQ(overlay.DragOffset(), (sPoint{-30, -10}));

    overlay.m_aCalls.clear();
    overlay.MoveCursor({500, 300});
    EXPECT_EQ(overlay.m_aCalls, (Calls{"move 470,290"}));  // no timer, no repaint while dragging
    EXPECT_EQ(overlay.State(), OVERLAY_NORMAL);            // hover text gives way at once
    overlay.MoveCursor({20, 5});  // towards the corner: may go to negative coordinates
    EXPECT_EQ(overlay.m_ptWindow, (sPoint{-10, -5}));
    EXPECT_FALSE(overlay.IsMovePending());  // only the release counts as a finished drag

    overlay.m_aCalls.clear();
    overlay.OnLeftButtonUp({640, 480});
    EXPECT_EQ(overlay.m_aCalls, (Calls{"repaint", "move 610,470"}));
    EXPECT_EQ(overlay.State(), OVERLAY_NORMAL);
    EXPECT_TRUE(overlay.IsMovePending());

    // After release, moving the mouse hovers again instead of dragging.
    overlay.m_aCalls.clear();
    overlay.MoveCursor({650, 480});
    EXPECT_EQ(overlay.m_aCalls, (Calls{"resize", "repaint", "timer 175"}));
    EXPECT_EQ(overlay.m_ptWindow, (sPoint{610, 470}));
}

TEST(OverlayDrag, NamesSurviveDraggingButNotTheRelease) {
    CFakeOverlay overlay;
    overlay.StartIn(OVERLAY_HOVER_NAMES);
    overlay.PressAt({201, 101});
    overlay.MoveCursor({300, 300});
    EXPECT_EQ(overlay.State(), OVERLAY_NAMES);
    overlay.MoveCursor({310, 300});
    EXPECT_EQ(overlay.State(), OVERLAY_NAMES);
    overlay.OnLeftButtonUp({310, 300});
    EXPECT_EQ(overlay.State(), OVERLAY_NORMAL);
}

TEST(OverlayDrag, OnlyADragThatEndsElsewhereIsAMove) {
    // A click leaves the window and the stored layout alone.
    CFakeOverlay overlay;
    overlay.PressAt({250, 120});
    overlay.OnLeftButtonUp({250, 120});
    EXPECT_EQ(overlay.m_ptWindow, (sPoint{200, 100}));
    EXPECT_FALSE(overlay.IsMovePending());

    // Dragged away and back to where it began: nothing to store either.
    overlay.PressAt({250, 120});
    overlay.MoveCursor({400, 300});
    overlay.MoveCursor({250, 120});
    overlay.OnLeftButtonUp({250, 120});
    EXPECT_FALSE(overlay.IsMovePending());

    // A real drag is noted, and a click before the HUD has saved it does not undo the note.
    overlay.PressAt({250, 120});
    overlay.OnLeftButtonUp({251, 120});
    EXPECT_TRUE(overlay.IsMovePending());
    overlay.PressAt({251, 120});
    overlay.OnLeftButtonUp({251, 120});
    EXPECT_TRUE(overlay.IsMovePending());
    EXPECT_EQ(overlay.m_ptWindow, (sPoint{201, 100}));

    // The HUD takes the note once.
    EXPECT_TRUE(overlay.TakeMoved());
    EXPECT_FALSE(overlay.IsMovePending());
    EXPECT_FALSE(overlay.TakeMoved());
}

TEST(OverlayKeys, HoldStateReachesEveryStateFromEveryOtherAndStopsTheTimer) {
    CFakeOverlay overlay;
    for (int from = 0; from < kOverlayStateCount; ++from) {
        for (int to = 0; to < kOverlayStateCount; ++to) {
            SCOPED_TRACE(std::to_string(from) + " -> " + std::to_string(to));
            overlay.StartIn(static_cast<eOverlayState>(from));
            overlay.m_nTimerMs = kOverlayHoverRecheckMs;
            HoldState(overlay, static_cast<eOverlayState>(to));
            EXPECT_EQ(overlay.State(), to);
            EXPECT_EQ(overlay.m_nTimerMs, 0);  // held until the mouse or a key moves it
            EXPECT_EQ(overlay.m_aCalls.back(), "stop timer");
        }
    }
    // The mouse still moves a held state as it would any other.
    overlay.StartIn(OVERLAY_NAMES);
    overlay.MoveCursor({210, 110});
    EXPECT_EQ(overlay.State(), OVERLAY_HOVER_NAMES);
}

TEST(OverlayPaint, PanelAndTextRectangle) {
    EXPECT_EQ(PanelForClientHeight(kOverlayHeight), ePanelBitmap::Small);
    EXPECT_EQ(PanelForClientHeight(40), ePanelBitmap::Small);
    EXPECT_EQ(PanelForClientHeight(41), ePanelBitmap::Tall);  // template height, large fonts
    EXPECT_EQ(PanelForClientHeight(0), ePanelBitmap::Small);
    EXPECT_EQ(OverlayTextRect({0, 0, 122, 39}), (sRect{0, -1, 122, 38}));
}

}  // namespace
