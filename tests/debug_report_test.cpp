#include <gtest/gtest.h>

#include <filesystem>

#include "TableListFakes.h"
#include "TestSupport.h"
#include "app/AutoSwitch.h"
#include "app/DebugReport.h"
#include "app/StartupLogic.h"

using testing_support::ReadFile;
using testing_support::ScopedTempDir;

namespace {

// Monday, 1 December 2008, 09:05:07.
std::tm SampleTime() {
    std::tm t{};
    t.tm_year = 108;
    t.tm_mon = 11;
    t.tm_mday = 1;
    t.tm_wday = 1;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 7;
    return t;
}

const char* const kSampleHeader =
    "Lanternquill V1.16 Debug Report\n"
    "Monday, December 01, 2008, 09:05:07\n\n"
    "ScreenX = 1024, ScreenY = 768\n"
    "hDesktopDC = 0001a2b3\n\n"
    "Hand history folder: C:\\PKR\\handhistory\n\n"
    "Autoswitch scan\n";

// Records each "open" as "file|parameters|hidden".
class CRecordingShell final : public IShellOpener {
public:
    void Open(const std::string& file, const std::string& parameters, bool hidden) override {
        m_opened.push_back(file + "|" + parameters + (hidden ? "|hidden" : "|shown"));
    }
    std::vector<std::string> m_opened;
};

// 20 x 40 screen; the sampled column x = 18 is white from row 4 down, its neighbours differ.
class CLogScreen final : public IScreen {
public:
    int Width() override { return 20; }
    int Height() override { return 40; }
    uint32_t Pixel(int x, int y) override {
        if (x == 17) {
            return 0x00010203;
        }
        if (x == 19) {
            return 0xFFFFFFFF;
        }
        return y >= 4 ? 0xFFFFFF : 0x3C3C3C;
    }
    uint64_t ContextHandle() override { return 0xbeef; }
};

TEST(DebugReportTest, HeaderHasTheExactLines) {
    EXPECT_EQ(DebugReportHeader(SampleTime(), 1024, 768, 0x1a2b3,
                                "Hand history folder: C:\\PKR\\handhistory"),
              kSampleHeader);
}

TEST(DebugReportTest, ScanLogListsEverySampleAndStopsAtTheBottomMargin) {
    table_fakes::sTableListRig rig;
    CLogScreen screen;
    CDebugReport report;
    report.Request("Hand history folder: D:\\history (not found)");
    // Zone 0: rows 0..20, step 2; zone 1 from row 20 reaches below H - 10 = 30 at y = 32.
    const HotZoneArray zones = StackHotZones(sRect{0, 0, 20, 20});
    // "Auto Switch" cleared: every zone is logged and nothing is selected.
    RunAutoSwitchScan(screen, zones, false, SampleTime(), report, rig.tables);

    std::string expected =
        "Lanternquill V1.16 Debug Report\n"
        "Monday, December 01, 2008, 09:05:07\n\n"
        "ScreenX = 20, ScreenY = 40\n"
        "hDesktopDC = 0000beef\n\n"
        "Hand history folder: D:\\history (not found)\n\n"
        "Autoswitch scan\n";
    for (int y = 0; y < 20; y += 2) {
        expected += "Zone 0, y = " + std::to_string(y) + ", 00010203, " +
                    (y >= 4 ? "00ffffff" : "003c3c3c") + ", ffffffff\n";
    }
    expected += "WhiteCount = 8\n\n";
    for (int y = 20; y <= 30; y += 2) {
        expected += "Zone 1, y = " + std::to_string(y) + ", 00010203, 00ffffff, ffffffff\n";
    }
    expected += "Zone 1, y = 32, WhiteCount = 6\n\n";
    expected += "Zone 2, y = 40, WhiteCount = 0\n\n";
    expected += "Zone 3, y = 60, WhiteCount = 0\n\n";
    EXPECT_EQ(report.Text(), expected);
    EXPECT_EQ(rig.listBox.GetCount(), 0);
    EXPECT_TRUE(report.IsRequested());  // written by the end of the timer message, not here
}

TEST(DebugReportTest, CompleteWritesOnceAndOpensTheFile) {
    ScopedTempDir dir;
    const std::string path = dir.File(kDebugReportFile);
    CRecordingShell shell;
    CDebugReport report;

    EXPECT_FALSE(CompleteDebugReport(report, shell, path));
    EXPECT_FALSE(std::filesystem::exists(path));

    testing_support::WriteFile(path, "an older, longer report\n");
    report.Request("Hand history folder: C:\\PKR\\handhistory");
    report.StartScanLog("line one\nline two\n");
    EXPECT_TRUE(CompleteDebugReport(report, shell, path));
#ifdef _WIN32
    EXPECT_EQ(ReadFile(path), "line one\r\nline two\r\n");
#else
    EXPECT_EQ(ReadFile(path), "line one\nline two\n");
#endif
    EXPECT_EQ(shell.m_opened, std::vector<std::string>{path + "||shown"});
    EXPECT_FALSE(report.IsRequested());

    // The request is used up by the first timer message.
    EXPECT_FALSE(CompleteDebugReport(report, shell, path));
    EXPECT_EQ(shell.m_opened.size(), 1u);
}

TEST(DebugReportTest, UncreatableFileDropsTheLogQuietly) {
    ScopedTempDir dir;
    CRecordingShell shell;
    CDebugReport report;
    report.Request("Hand history folder: C:\\PKR\\handhistory");
    report.StartScanLog("text");
    EXPECT_FALSE(CompleteDebugReport(report, shell, dir.File("missing/DebugReport.txt")));
    EXPECT_TRUE(shell.m_opened.empty());
    EXPECT_FALSE(report.IsRequested());
}

}  // namespace
