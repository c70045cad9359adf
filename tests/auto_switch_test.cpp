#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "TableListFakes.h"
#include "app/AutoSwitch.h"
#include "app/DebugReport.h"

using namespace table_fakes;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey = 0x3E3E3E;
constexpr uint32_t kDark = 0x202020;

// A screen whose colour depends on the row only; remembers the rows read at x = W - 2.
class CFakeScreen final : public IScreen {
public:
    CFakeScreen(int width, int height) : m_width(width), m_height(height) {}
    int Width() override { return m_width; }
    int Height() override { return m_height; }
    uint32_t Pixel(int x, int y) override {
        EXPECT_EQ(x, m_width - 2);  // no neighbours read unless logging
        m_rows.push_back(y);
        return m_rowColour ? m_rowColour(y) : kDark;
    }
    uint64_t ContextHandle() override { return 0; }

    std::function<uint32_t(int)> m_rowColour;
    std::vector<int> m_rows;

private:
    int m_width;
    int m_height;
};

// The first `count` rows sampled in `zone` get `colour`, the rest are dark.
std::function<uint32_t(int)> ColourSamples(const sRect& zone, int count, uint32_t colour) {
    const int64_t last = zone.top + (count - 1) * ZoneSampleStep(zone);
    return [=](int y) { return y >= zone.top && y <= last ? colour : kDark; };
}

// The 1024 x 768 zones of a main window 175 pixels wide.
const HotZoneArray kZones1024 = StackHotZones(sRect{849, 30, 1024, 172});

TEST(AutoSwitchColourTest, WhiteAndGreyBoundaries) {
    EXPECT_TRUE(IsWhiteSample(0xFFFFFF) && IsGreySample(0xFFFFFF));
    EXPECT_TRUE(!IsWhiteSample(0x3E3E3E) && IsGreySample(0x3E3E3E));
    EXPECT_TRUE(!IsWhiteSample(0x3C3C3C) && !IsGreySample(0x3C3C3C));
    EXPECT_FALSE(IsGreySample(0x3E3E3C));  // one channel short fails
    EXPECT_FALSE(IsWhiteSample(0xFFFFFE));
    // An unreadable pixel (0xFFFFFFFF) counts as neither; otherwise the top byte is ignored.
    EXPECT_TRUE(!IsWhiteSample(0xFFFFFFFF) && !IsGreySample(0xFFFFFFFF));
    EXPECT_TRUE(IsWhiteSample(0x01FFFFFF) && IsGreySample(0xFEFFFFFF));
}

TEST(AutoSwitchScanTest, ZoneZeroSamplesEveryNineteenRows) {
    CFakeScreen screen(1920, 1080);
    (void)ScanZone(0, sRect{1745, 30, 1920, 224}, screen, nullptr);
    EXPECT_EQ(screen.m_rows, (std::vector<int>{30, 49, 68, 87, 106, 125, 144, 163, 182, 201, 220}));
}

TEST(AutoSwitchScanTest, RowsInTheLastTenOfTheScreenAreNeverSampled) {
    CFakeScreen screen(1024, 600);  // zone 3 is rows 456..598, step 14
    (void)ScanZone(3, kZones1024[3], screen, nullptr);
    EXPECT_EQ(screen.m_rows.front(), 456);
    EXPECT_EQ(screen.m_rows.back(), 582);  // 596 > 590 ends the zone
    CFakeScreen exact(1024, 476);          // row H - 10 itself is sampled
    (void)ScanZone(0, sRect{0, 456, 10, 476}, exact, nullptr);
    EXPECT_EQ(exact.m_rows, (std::vector<int>{456, 458, 460, 462, 464, 466}));
}

TEST(AutoSwitchScanTest, ShortAndEmptyZonesEnd) {
    CFakeScreen screen(800, 600);
    (void)ScanZone(0, sRect{0, 100, 10, 105}, screen, nullptr);
    EXPECT_EQ(screen.m_rows, (std::vector<int>{100, 101, 102, 103, 104}));
    (void)ScanZone(0, sRect{0, 100, 10, 100}, screen, nullptr);
    (void)ScanZone(0, sRect{0, 100, 10, 50}, screen, nullptr);
    EXPECT_EQ(screen.m_rows.size(), 5u);
}

TEST(AutoSwitchScanTest, MoreThanFiveSamplesQualifyExactlyFiveDoNot) {
    CFakeScreen screen(1024, 768);
    const sRect zone = kZones1024[0];
    screen.m_rowColour = ColourSamples(zone, 5, kWhite);  // five white = five grey too
    const sZoneCounts five = ScanZone(0, zone, screen, nullptr);
    EXPECT_EQ(five.white, 5);
    EXPECT_EQ(five.grey, 5);
    EXPECT_EQ(ScanHotZones(kZones1024, screen, true, nullptr), -1);
    for (const uint32_t colour : {kWhite, kGrey}) {
        screen.m_rowColour = ColourSamples(zone, 6, colour);
        EXPECT_EQ(ScanHotZones(kZones1024, screen, true, nullptr), 0) << colour;
    }
    screen.m_rowColour = ColourSamples(zone, 11, 0x3C3C3C);
    EXPECT_EQ(ScanHotZones(kZones1024, screen, true, nullptr), -1);
}

TEST(AutoSwitchScanTest, LowestQualifyingZoneWinsAndEndsTheScan) {
    CFakeScreen screen(1024, 768);
    screen.m_rowColour = [](int y) { return y >= 172 && y < 456 ? kWhite : kDark; };  // zones 1, 2
    EXPECT_EQ(ScanHotZones(kZones1024, screen, true, nullptr), 1);
    EXPECT_LT(screen.m_rows.back(), 314);
    // Without "Auto Switch" every zone is scanned and nothing is chosen.
    screen.m_rows.clear();
    EXPECT_EQ(ScanHotZones(kZones1024, screen, false, nullptr), -1);
    EXPECT_GE(screen.m_rows.back(), 456);
}

TEST(AutoSwitchScanTest, UnreadableScreenChoosesNoZoneAndKeepsTheSelection) {
    sTableListRig rig;
    rig.tables.RefreshTableList({File("A", 1), File("B", 1)});
    rig.listBox.SetCurSel(1);
    rig.tables.UpdateTableHuds();
    CFakeScreen screen(1024, 768);  // a locked workstation: no pixel can be read
    screen.m_rowColour = [](int) { return kUnreadablePixel; };
    CDebugReport report;
    RunAutoSwitchScan(screen, kZones1024, true, std::tm{}, report, rig.tables);
    EXPECT_EQ(rig.listBox.GetCurSel(), 1);
    EXPECT_EQ(rig.ShownHuds(), Lines{"B"});
    // Unreadable rows inside a white view do not spoil it.
    screen.m_rowColour = [](int y) { return y < 120 ? kWhite : kUnreadablePixel; };
    EXPECT_EQ(ScanHotZones(kZones1024, screen, true, nullptr), 0);
}

TEST(AutoSwitchScanTest, WhiteZoneTwoPadsTheListAndHidesEveryHud) {
    sTableListRig rig;
    rig.tables.RefreshTableList({File("A", 1)});
    CFakeScreen screen(1024, 768);
    screen.m_rowColour = ColourSamples(kZones1024[2], 6, kWhite);
    CDebugReport report;
    RunAutoSwitchScan(screen, kZones1024, true, std::tm{}, report, rig.tables);
    EXPECT_EQ(rig.listBox.Lines(), (Lines{"A", kNoTableLine, kNoTableLine}));
    EXPECT_EQ(rig.listBox.GetCurSel(), 2);
    EXPECT_TRUE(rig.ShownHuds().empty());
    EXPECT_TRUE(report.Text().empty());  // nothing logged unless asked
}

// Windows: 1 the main window, 2 the PKR client, 3 owned by the main window, 4 another program.
class CFakeWindows final : public IWindowQueries {
public:
    WindowId ForegroundWindow() override { return m_foreground; }
    WindowId FindTopLevelWindow(const char* className) override {
        return std::string(className) == "PKR" ? 2 : 0;
    }
    WindowId ParentOrOwner(WindowId window) override { return window == 3 ? 1 : 0; }
    WindowId MainWindow() override { return 1; }
    WindowId m_foreground = 0;
};

TEST(AutoSwitchForegroundTest, ScanRunsOnlyForPkrOrOwnWindows) {
    CFakeWindows windows;
    const std::vector<std::pair<bool, bool>> expected = {
        {true, true}, {false, true}, {true, false}, {false, true}, {false, false}};
    for (WindowId w = 0; w < expected.size(); ++w) {
        windows.m_foreground = w;
        EXPECT_EQ(IsPkrWindowForeground(windows), expected[w].first) << w;
        EXPECT_EQ(IsOwnWindowForeground(windows), expected[w].second) << w;
        EXPECT_EQ(AutoSwitchScanAllowed(1, windows), expected[w].first || expected[w].second);
    }
    windows.m_foreground = 2;
    EXPECT_FALSE(AutoSwitchScanAllowed(0, windows));
    EXPECT_FALSE(AutoSwitchScanAllowed(-32000, windows));  // minimised
}

}  // namespace
