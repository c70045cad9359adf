#include "hud/RefreshLogic.h"

#include <gtest/gtest.h>

#include <string>

#include "hud/SeatReader.h"
#include "platform/WindowQueries.h"

namespace {

// Windows: 1 the main window, 2 the PKR client, 3 a window the main window owns (an overlay or
// a table settings window), 4 another program.
constexpr WindowId kMain = 1;
constexpr WindowId kPkr = 2;
constexpr WindowId kOwned = 3;
constexpr WindowId kOtherProgram = 4;

class CFakeWindows final : public IWindowQueries {
public:
    WindowId ForegroundWindow() override { return m_foreground; }
    WindowId FindTopLevelWindow(const char* className) override {
        return std::string(className) == kPkrWindowClass ? kPkr : 0;
    }
    WindowId ParentOrOwner(WindowId window) override { return window == kOwned ? kMain : 0; }
    WindowId MainWindow() override { return kMain; }
    WindowId m_foreground = kPkr;
};

struct sKeys final : IModifierKeys {
    bool IsCtrlDown() override { return ctrl; }
    bool IsShiftDown() override { return shift; }
    bool IsAltDown() override { return alt; }
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// An overlay that remembers what the cycle did to it.
class CFakeOverlay final : public CPlayerOverlay {
public:
    void Show() override { visible = true; }
    void Hide() override { visible = false; }
    void Repaint() override { ++repaints; }
    void StartStateTimer(int ms) override { timerMs = ms; }
    void StopStateTimer() override { timerMs = 0; }
    void MoveHidden(sPoint) override {}
    sRect ScreenRect() const override { return {}; }
    void KeepOnTop(bool raise) override {
        ++keptOnTop;
        raised = raise;
    }

    // Starts a case in `state`, reached the way the keys reach it, with nothing recorded.
    void StartIn(eOverlayState state) {
        HoldState(*this, state);
        repaints = 0;
        timerMs = -1;
    }
    // The user drags the overlay somewhere else and lets go.
    void DragAway() {
        OnLeftButtonDown({0, 0});
        OnLeftButtonUp({40, 30});
        repaints = 0;
    }

    bool visible = true;
    int repaints = 0;
    int timerMs = -1;  // -1: never touched, 0: stopped
    int keptOnTop = 0;
    bool raised = false;

protected:
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    bool HasMouseCapture() const override { return false; }
    sPoint CursorScreenPos() const override { return {}; }
    sPoint ScreenToClient(sPoint screen) const override { return screen; }
    sRect ClientRect() const override { return {}; }
    bool IsVisible() const override { return visible; }
    void MoveTo(sPoint) override {}
    void ResizeInPlace() override {}
};

// A six-max Hold'em 25NL table; seats 1, 2 and 5 are taken.
class CFakeHud final : public IRefreshHud {
public:
    bool ReadSeats() override { return readable; }
    sBucketKey Bucket() const override { return {GAME_HOLDEM, STAKE_25NL, SIZE_3TO6}; }
    void SetHeading(const std::string& text) override { heading = text; }
    bool IsSeatEmpty(int seat) const override { return seat != 0 && seat != 1 && seat != 4; }
    void ComposeSeat(int seat, sSeatDisplay& out) override {
        ++composed;
        out.texts = {"main " + std::to_string(seat) + suffix, "hover", "names", "hover names"};
        out.colour = colour;
    }
    void SaveOverlayPositions() override { ++saves; }

    bool readable = true;
    std::string heading = "untouched";
    std::string suffix;
    uint32_t colour = 0xFFFFFF;
    int composed = 0;
    int saves = 0;
};

class RefreshCycle : public ::testing::Test {
protected:
    RefreshCycle() {
        for (size_t i = 0; i < kSeatCount; ++i) {
            pointers[i] = &overlays[i];
        }
    }
    void Tick(bool active = true) { RunOverlayRefresh(hud, pointers, active, windows, keys); }
    [[nodiscard]] int VisibleCount() const {
        int count = 0;
        for (const CFakeOverlay& overlay : overlays) {
            count += overlay.visible ? 1 : 0;
        }
        return count;
    }

    std::array<CFakeOverlay, kSeatCount> overlays;
    std::array<CPlayerOverlay*, kSeatCount> pointers{};
    CFakeHud hud;
    CFakeWindows windows;
    sKeys keys;
};

TEST(StatsHeading, JoinsSizeGameAndStake) {
    EXPECT_EQ(StatsHeading({GAME_HOLDEM, STAKE_25NL, SIZE_3TO6}),
              "  Stats: 3-6 Handed Hold'em 25NL");
    EXPECT_EQ(StatsHeading({GAME_OMAHA, STAKE_PLAYMONEY, SIZE_HEADSUP}),
              "  Stats: Headsup Omaha Play Money");
    sSeatState unknownGame;
    unknownGame.m_nSizeClass = SIZE_7TO10;
    EXPECT_EQ(StatsHeading(unknownGame.Bucket()), "  Stats: 7-10 Handed Unknown Other");
    // The "not yet read" size class and wild values give empty parts, not garbage.
    EXPECT_EQ(StatsHeading({static_cast<eGameType>(-1), STAKE_MAX, SIZECLASS_MAX}), "  ");
}

TEST_F(RefreshCycle, SeatedPlayersAreShownAndEmptySeatsHidden) {
    Tick();
    EXPECT_EQ(hud.heading, "  Stats: 3-6 Handed Hold'em 25NL");
    EXPECT_EQ(hud.composed, 3);
    EXPECT_TRUE(overlays[0].visible);
    EXPECT_TRUE(overlays[4].visible);
    EXPECT_FALSE(overlays[2].visible);
    EXPECT_EQ(VisibleCount(), 3);
    EXPECT_EQ(overlays[4].Texts()[0], "main 4");
    EXPECT_EQ(overlays[4].Texts()[3], "hover names");
    EXPECT_EQ(overlays[4].TextColour(), 0xFFFFFFU);
    EXPECT_EQ(overlays[4].repaints, 1);
    EXPECT_EQ(overlays[2].repaints, 0);
}

TEST_F(RefreshCycle, RepaintsOnlyWhenATextChanged) {
    Tick();
    hud.colour = 0x00FF00;  // a colour change alone is not repainted
    Tick();
    EXPECT_EQ(overlays[0].repaints, 1);
    EXPECT_EQ(overlays[0].TextColour(), 0x00FF00U);
    hud.suffix = "*";
    Tick();
    EXPECT_EQ(overlays[0].repaints, 2);
    EXPECT_EQ(overlays[0].Texts()[0], "main 0*");
}

TEST_F(RefreshCycle, AnotherProgramInFrontHidesEverythingAndIgnoresKeys) {
    Tick();
    windows.m_foreground = kOtherProgram;
    keys.ctrl = true;
    hud.suffix = "new";
    Tick();
    EXPECT_EQ(VisibleCount(), 0);
    EXPECT_EQ(overlays[0].State(), OVERLAY_NORMAL);
    EXPECT_EQ(overlays[0].timerMs, -1);
    EXPECT_EQ(overlays[0].Texts()[0], "main 0");  // not recomposed while hidden
    EXPECT_EQ(hud.heading, "  Stats: 3-6 Handed Hold'em 25NL");

    // Back to the poker client: shown again and raised above other topmost windows.
    keys.ctrl = false;
    windows.m_foreground = kPkr;
    Tick();
    EXPECT_EQ(VisibleCount(), 3);
    EXPECT_TRUE(overlays[0].raised);
}

TEST_F(RefreshCycle, OwnWindowsInFrontKeepOverlaysWithoutRaisingThem) {
    for (WindowId own : {kMain, kOwned}) {
        windows.m_foreground = own;
        overlays[0].keptOnTop = 0;
        Tick();
        EXPECT_EQ(VisibleCount(), 3) << own;
        EXPECT_EQ(overlays[0].keptOnTop, 1) << own;
        EXPECT_FALSE(overlays[0].raised) << own;
    }
    windows.m_foreground = 0;  // no foreground window at all counts as an own window
    Tick();
    EXPECT_EQ(VisibleCount(), 3);
    EXPECT_FALSE(overlays[0].raised);
}

TEST_F(RefreshCycle, InactiveHudUpdatesTheHeadingButHidesOverlays) {
    Tick();
    keys.alt = true;
    Tick(/*active=*/false);
    EXPECT_EQ(VisibleCount(), 0);
    EXPECT_EQ(overlays[0].State(), OVERLAY_NORMAL);  // keys belong to the shown table only
    EXPECT_EQ(hud.heading, "  Stats: 3-6 Handed Hold'em 25NL");
}

TEST_F(RefreshCycle, UnreadableFileLeavesEverythingAsItWas) {
    Tick();
    hud.heading = "before";
    hud.readable = false;
    overlays[1].DragAway();
    windows.m_foreground = kOtherProgram;
    Tick();
    EXPECT_EQ(hud.heading, "before");
    EXPECT_EQ(VisibleCount(), 3);
    EXPECT_TRUE(overlays[1].IsMovePending());  // the drag is saved once the file reads again
    EXPECT_EQ(hud.saves, 0);
    hud.readable = true;
    windows.m_foreground = kPkr;
    Tick();
    EXPECT_FALSE(overlays[1].IsMovePending());
    EXPECT_EQ(hud.saves, 1);
}

TEST_F(RefreshCycle, SwitchingAwayWhileTheFileIsUnreadableHidesAtOnceAndComesBackWhenRead) {
    Tick();
    hud.readable = false;  // a half-written hand when the user switches to another table
    Tick(/*active=*/false);
    EXPECT_EQ(VisibleCount(), 0);
    Tick();  // switched back, still unreadable: nothing old is shown
    EXPECT_EQ(VisibleCount(), 0);
    hud.readable = true;
    Tick();
    EXPECT_EQ(VisibleCount(), 3);
}

TEST_F(RefreshCycle, DragSavesTheLayoutOnceEvenFromAnEmptySeat) {
    Tick();
    EXPECT_EQ(hud.saves, 0);
    overlays[0].DragAway();
    overlays[7].DragAway();  // seat 8 is empty
    Tick();
    EXPECT_EQ(hud.saves, 1);
    EXPECT_FALSE(overlays[0].IsMovePending());
    EXPECT_FALSE(overlays[7].IsMovePending());
    Tick();
    EXPECT_EQ(hud.saves, 1);
}

TEST_F(RefreshCycle, CtrlShowsHoverTextsOnEveryOverlay) {
    overlays[3].StartIn(OVERLAY_HOVER);
    overlays[5].StartIn(OVERLAY_NAMES);
    keys.ctrl = true;
    Tick();
    for (const CFakeOverlay& overlay : overlays) {
        EXPECT_EQ(overlay.State(), OVERLAY_HOVER);
        EXPECT_EQ(overlay.timerMs, kOverlayKeyStateMs);
    }
    EXPECT_EQ(overlays[3].repaints, 0);  // already hovering: no repaint for the key
    EXPECT_EQ(overlays[5].repaints, 1);
}

TEST_F(RefreshCycle, AltShowsTheNamesAndCtrlAltTheHoverNames) {
    overlays[2].StartIn(OVERLAY_HOVER);
    overlays[3].StartIn(OVERLAY_HOVER_NAMES);
    keys.alt = true;
    Tick();
    EXPECT_EQ(overlays[0].State(), OVERLAY_NAMES);
    EXPECT_EQ(overlays[2].State(), OVERLAY_HOVER_NAMES);
    EXPECT_EQ(overlays[3].State(), OVERLAY_HOVER_NAMES);
    EXPECT_EQ(overlays[3].repaints, 0);
    EXPECT_EQ(overlays[3].timerMs, kOverlayKeyStateMs);

    keys.ctrl = true;
    Tick();
    for (const CFakeOverlay& overlay : overlays) {
        EXPECT_EQ(overlay.State(), OVERLAY_HOVER_NAMES);
    }
}

TEST_F(RefreshCycle, ShiftHidesEverythingAndResetsStates) {
    Tick();
    overlays[0].StartIn(OVERLAY_HOVER);
    overlays[0].timerMs = 175;
    keys.shift = true;
    Tick();
    EXPECT_EQ(VisibleCount(), 0);
    EXPECT_EQ(overlays[0].State(), OVERLAY_NORMAL);
    EXPECT_EQ(overlays[0].timerMs, 0);

    // With ALT as well the overlays stay hidden, though ALT still changes the states.
    keys.alt = true;
    Tick();
    EXPECT_EQ(VisibleCount(), 0);
    EXPECT_EQ(overlays[0].State(), OVERLAY_NAMES);

    keys = {};
    Tick();
    EXPECT_EQ(VisibleCount(), 3);
}

}  // namespace
