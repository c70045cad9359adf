#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/ImportCycle.h"
#include "history/StatsStore.h"
#include "overlay/Settings.h"
#include "platform/FileSystem.h"
#include "tests/HandText.h"
#include "tests/TestSupport.h"

using testing_support::ScopedTempDir;

namespace {

constexpr int64_t kNow = 1'300'000'000;
constexpr int64_t kWeek = 7 * 86400;

// Real files in a temporary folder (the parser reads them) whose last-write times the test sets.
class TimedFileSystem final : public IFileSystem {
public:
    std::vector<sDirEntry> ListDirectory(const std::string& dir) override {
        std::vector<sDirEntry> entries = m_real.ListDirectory(dir);
        // The times are the test's, not the ones a listing may bring along.
        for (sDirEntry& entry : entries) {
            entry.m_tLastWrite.reset();
        }
        return entries;
    }
    std::optional<int64_t> LastWriteTime(const std::string& path) override {
        const auto it = m_times.find(path);
        return it == m_times.end() ? std::nullopt : std::optional<int64_t>(it->second);
    }
    std::map<std::string, int64_t> m_times;

private:
    CStdFileSystem m_real;
};

// A clock that moves only when told to, or while the user reads what the cycle shows.
class FakeClock final : public IImportClock {
public:
    int64_t Now() override { return now; }
    void Sleep(int milliseconds) override { sleeps.push_back(milliseconds); }
    int64_t now = kNow;
    std::vector<int> sleeps;
};

class RecordingUi final : public IImportUi {
public:
    explicit RecordingUi(FakeClock& clock) : m_clock(clock) {}
    void ShowFirstRunMessage(const std::string& text) override {
        events.emplace_back("message");
        messages.push_back(text);
        m_clock.now += secondsToReadMessage;
    }
    void ClearTableList() override { events.emplace_back("clear"); }
    void ShowInformationPanel() override {
        events.emplace_back("panel");
        m_clock.now += secondsToReadPanel;
    }
    std::vector<std::string> events;
    std::vector<std::string> messages;
    int64_t secondsToReadMessage = 0;
    int64_t secondsToReadPanel = 0;

private:
    FakeClock& m_clock;
};

class RecordingProgress final : public IProgressSink {
public:
    void SetRange(int low, int high) override {
        events.push_back("range " + std::to_string(low) + ".." + std::to_string(high));
    }
    void SetPos(int pos) override { events.push_back(std::to_string(pos)); }
    std::vector<std::string> events;
};

class ImportCycleTest : public ::testing::Test {
protected:
    // Writes a table's file holding one hand numbered `hand`, last written at `time`.
    std::string AddTable(const std::string& name, uint32_t hand, int64_t time) {
        std::string path = dir.File(name + ".txt");
        testing_support::WriteFile(
            path, hand_text::Header() + hand_text::Hand(hand, {{1, "Ann"}, {2, "Ben"}},
                                                        {"Ann calls $1", "Ben checks"}));
        fs.m_times[path] = time;
        return path;
    }
    void Run() { cycle.ImportHistory(dir.Path().string()); }
    std::vector<std::string> RefreshedNames() const {
        std::vector<std::string> names;
        for (const auto& file : refreshed.back()) {
            names.push_back(file.m_strName);
        }
        return names;
    }

    ScopedTempDir dir;
    TimedFileSystem fs;
    CStatsStore store;
    FakeClock clock;
    RecordingUi ui{clock};
    RecordingProgress progress;
    std::vector<std::vector<sModifiedFileInfo>> refreshed;
    sSettings settings;
    CImportCycle cycle{fs,
                       store,
                       progress,
                       ui,
                       clock,
                       settings,
                       [this](const std::vector<sModifiedFileInfo>& files) {
                           ui.events.emplace_back("refresh");
                           refreshed.push_back(files);
                       }};

private:
    bool m_savedFull = true;
    bool m_savedCacheLoaded = false;
    int64_t m_savedCutoff = 0;
    sSettings m_savedSettings;
};

TEST(FirstRunMessageTest, ExactTextAndItsThreeEndings) {
    EXPECT_EQ(FirstRunMessage(52, 150),
              "About to start scanning of hand history folder...\n\n"
              "All hand history data newer than your chosen 52 weeks\n"
              "will be tracked and cached for fast startup.\n\n"
              "You have 150 tables of hand history in this period."
              "This may take a few minutes please be patient.");

    // The endings switch strictly above 100 and above 1000 files.
    const std::string plain = "in this period.";
    const std::string few = "period.This may take a few minutes please be patient.";
    const std::string lng = "period.This may take a long time please be patient.";
    auto endsWith = [](const std::string& text, const std::string& tail) {
        return text.size() >= tail.size() &&
               text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    };
    EXPECT_TRUE(endsWith(FirstRunMessage(3, 0), plain));
    EXPECT_TRUE(endsWith(FirstRunMessage(3, 100), plain));
    EXPECT_TRUE(endsWith(FirstRunMessage(3, 101), few));
    EXPECT_TRUE(endsWith(FirstRunMessage(3, 1000), few));
    EXPECT_TRUE(endsWith(FirstRunMessage(3, 1001), lng));
    EXPECT_NE(FirstRunMessage(999, 1001).find("chosen 999 weeks\n"), std::string::npos);
    EXPECT_NE(FirstRunMessage(999, 1001).find("You have 1001 tables"), std::string::npos);
}

TEST_F(ImportCycleTest, AFolderNotFoundIsNotLookedIntoAndTheFirstRunMessageNamesIt) {
    AddTable("Playing", 3, kNow - 60);
    // Reported not found (a chosen text cut short for showing may still name something real):
    // nothing in it is read, and the message says where it looked and where to choose another.
    cycle.ImportHistory(sHistoryFolder{dir.Path().string(), eFolderState::NotFound});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], FirstRunMessage(52, 0) + "\n\nThe hand history folder " +
                                  dir.Path().string() +
                                  " was not found: choose another in Options, "
                                  "\"Hand history folder\".");
    EXPECT_EQ(store.CountedHands().size(), 0u);
    EXPECT_TRUE(refreshed.back().empty());

    // Once the folder is there, a reload reads it with the message as it always was.
    cycle.RequestFullReload(clock.now);
    cycle.ImportHistory(sHistoryFolder{dir.Path().string(), eFolderState::Found});
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1], FirstRunMessage(52, 1));
    EXPECT_EQ(store.CountedHands().size(), 1u);
    EXPECT_EQ(RefreshedNames(), std::vector<std::string>{"Playing"});
}

TEST_F(ImportCycleTest, FirstRunReadsTheChosenWeeksTellsTheUserAndKeepsOnlyRecentTables) {
    settings.OldestStatsInWeeks = 2;
    AddTable("Old", 1, kNow - 3 * kWeek);  // before the chosen weeks: ignored
    AddTable("Week", 2, kNow - kWeek);     // read, but not being played
    AddTable("Playing", 3, kNow - 60);     // read and listed
    AddTable("Unreadable", 4, kNow);
    fs.m_times.erase(dir.File("Unreadable.txt"));  // its time cannot be read: skipped

    Run();

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], FirstRunMessage(2, 2));
    EXPECT_EQ(clock.sleeps, std::vector<int>{200});
    EXPECT_EQ(store.CountedHands().size(), 2u);
    EXPECT_TRUE(store.IsHandCounted(2));
    EXPECT_TRUE(store.IsHandCounted(3));
    EXPECT_EQ(RefreshedNames(), std::vector<std::string>{"Playing"});
    EXPECT_EQ(ui.events, (std::vector<std::string>{"message", "clear", "panel", "refresh"}));
    EXPECT_FALSE(cycle.State().fullImport);
}

TEST_F(ImportCycleTest, SecondScanKeepsFilesOfTheLast180SecondsCountedFromItsOwnTime) {
    // The user reads the message for ten minutes: "recent" counts from after that.
    ui.secondsToReadMessage = 600;
    AddTable("Before", 1, kNow - 10);  // recent when the cycle began, not after the message
    AddTable("Edge", 2, kNow + 600 - 180);
    AddTable("Late", 3, kNow + 500);

    Run();

    EXPECT_EQ(RefreshedNames(), (std::vector<std::string>{"Edge", "Late"}));
    EXPECT_EQ(cycle.ModifiedPaths().size(), 2u);
    // Every file was parsed once, by the first scan.
    EXPECT_EQ(store.CountedHands().size(), 3u);
}

TEST_F(ImportCycleTest, CutoffMovesToTheStartOfTheScanThatFilledTheTableList) {
    ui.secondsToReadMessage = 600;
    ui.secondsToReadPanel = 50;
    Run();
    // Files written while the panel was open must still be seen by the next cycle.
    EXPECT_EQ(cycle.State().historyCutoff, kNow + 600);

    clock.now = kNow + 2000;
    AddTable("Later", 9, kNow + 620);  // written while the panel was open
    Run();
    EXPECT_EQ(cycle.State().historyCutoff, kNow + 2000);
    EXPECT_TRUE(store.IsHandCounted(9));
    EXPECT_EQ(RefreshedNames(), std::vector<std::string>{"Later"});
}

TEST_F(ImportCycleTest, LoadedCacheKeepsItsCutoffShowsNoMessageAndSkipsUnchangedFiles) {
    cycle.UseLoadedCache(kNow - 100 * kWeek + kCacheOverlapSeconds);
    const std::string same = AddTable("Same", 1, kNow - 3600);
    const std::string grown = AddTable("Grown", 2, kNow - 30);
    AddTable("Ancient", 3, kNow - 60 * kWeek);  // older than 52 weeks, newer than the cache
    store.AppendLoadedFile(same, kNow - 3600);
    store.AppendLoadedFile(grown, kNow - 7200);

    Run();

    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_FALSE(store.IsHandCounted(1));  // same recorded time: neither parsed nor listed
    EXPECT_TRUE(store.IsHandCounted(2));
    EXPECT_TRUE(store.IsHandCounted(3));
    EXPECT_EQ(ui.events, (std::vector<std::string>{"clear", "panel", "refresh"}));
    EXPECT_EQ(RefreshedNames(), std::vector<std::string>{"Grown"});
}

TEST_F(ImportCycleTest, LaterCycleFindsRewrittenFileAndRecordsItsNewTimeInPlace) {
    const std::string path = AddTable("Table", 1, kNow - 30);
    const std::string other = AddTable("Other", 2, kNow - 40);
    Run();
    ASSERT_EQ(store.Files().size(), 2u);
    ui.events.clear();

    // A table played for a while: every cycle finds its file written again.
    for (int64_t cycleTime = kNow + 7; cycleTime < kNow + 100; cycleTime += 7) {
        clock.now = cycleTime;
        fs.m_times[path] = cycleTime - 2;
        Run();
        EXPECT_EQ(RefreshedNames(), std::vector<std::string>{"Table"});
    }
    EXPECT_EQ(ui.events.back(), "refresh");
    EXPECT_EQ(store.Files().size(), 2u);
    EXPECT_EQ(store.FileTime(path), clock.now - 2);
    EXPECT_EQ(store.FileTime(other), kNow - 40);
    EXPECT_EQ(cycle.State().historyCutoff, clock.now);

    // Nothing written since: the next cycle lists nothing.
    clock.now += 20;
    Run();
    EXPECT_TRUE(refreshed.back().empty());
}

// A closed table whose file another program held open during the first import: nothing
// writes it again, yet the next cycle reads it.
TEST_F(ImportCycleTest, AFileHeldOpenDuringTheFirstImportIsReadByTheNextCycle) {
    AddTable("Open", 1, kNow - 60);
    const std::string closed = AddTable("Closed", 2, kNow - 3 * 3600);
    testing_support::ScopedUnreadableFile holding(closed);

    Run();
    EXPECT_EQ(ui.messages, std::vector<std::string>{FirstRunMessage(52, 2)});
    EXPECT_TRUE(store.IsHandCounted(1));
    EXPECT_FALSE(store.IsHandCounted(2));
    EXPECT_EQ(store.FileTime(closed), std::nullopt);
    ASSERT_EQ(cycle.UnreadFiles().size(), 1u);

    // Still held at the next cycle: tried again, still not recorded.
    clock.now = kNow + 8;
    Run();
    EXPECT_FALSE(store.IsHandCounted(2));
    EXPECT_EQ(cycle.UnreadFiles().size(), 1u);

    holding.Release();
    clock.now = kNow + 16;
    Run();
    EXPECT_TRUE(store.IsHandCounted(2));
    EXPECT_EQ(store.FileTime(closed), kNow - 3 * 3600);
    EXPECT_TRUE(cycle.UnreadFiles().empty());
    // Read for the statistics, not listed as a table being played.
    EXPECT_TRUE(refreshed.back().empty());
    EXPECT_EQ(store.Files().size(), 2u);
}

TEST_F(ImportCycleTest, AFileHeldOpenByALaterCycleIsReadOnceOnlyAndDroppedWhenGone) {
    cycle.ContinueFrom(kNow - 100);
    const std::string table = AddTable("Table", 1, kNow - 10);
    const std::string removed = AddTable("Removed", 2, kNow - 10);
    {
        testing_support::ScopedUnreadableFile holdingTable(table);
        testing_support::ScopedUnreadableFile holdingRemoved(removed);
        Run();
    }
    EXPECT_EQ(cycle.UnreadFiles().size(), 2u);
    EXPECT_TRUE(store.Files().empty());

    // Written again and found by the scan as well: read once, one entry with the new time.
    fs.m_times[table] = kNow + 3;
    fs.m_times.erase(removed);  // its time can no longer be read: the file is gone
    clock.now = kNow + 8;
    Run();
    EXPECT_TRUE(store.IsHandCounted(1));
    EXPECT_FALSE(store.IsHandCounted(2));
    EXPECT_EQ(store.Files(), std::vector<std::string>{table});
    EXPECT_EQ(store.FileTimes(), std::vector<int64_t>{kNow + 3});
    EXPECT_TRUE(cycle.UnreadFiles().empty());
}

TEST_F(ImportCycleTest, ProgressStartsAtOneOfTwentyCoversTheParseAndEndsAtZero) {
    cycle.ContinueFrom(kNow - 100);
    AddTable("A", 1, kNow - 10);
    AddTable("B", 2, kNow - 10);

    Run();

    const auto& ev = progress.events;
    ASSERT_GE(ev.size(), 3u);
    EXPECT_EQ(ev[0], "range 0..20");
    EXPECT_EQ(ev[1], "1");
    EXPECT_EQ(ev.back(), "0");
    // The scan's percentage range, then the parser's range over the two files (position 1,
    // then each file's index), then the end of the cycle.
    const auto parse = std::find(ev.begin(), ev.end(), "range 0..2");
    ASSERT_NE(parse, ev.end());
    EXPECT_LT(std::find(ev.begin(), ev.end(), "range 0..100"), parse);
    EXPECT_EQ(std::vector<std::string>(parse + 1, ev.end()),
              (std::vector<std::string>{"1", "0", "1", "0"}));
}

TEST_F(ImportCycleTest, RunningOnlyWhileTheCycleRuns) {
    // Records whether the cycle says it runs while it shows something.
    class ProbeUi final : public IImportUi {
    public:
        void ShowFirstRunMessage(const std::string&) override {
            seen.push_back(cycle->IsRunning());
        }
        void ClearTableList() override {}
        void ShowInformationPanel() override { seen.push_back(cycle->IsRunning()); }
        const CImportCycle* cycle = nullptr;
        std::vector<bool> seen;
    };
    ProbeUi probe;
    CImportCycle probed(fs, store, progress, probe, clock, settings, nullptr);
    probe.cycle = &probed;

    EXPECT_FALSE(probed.IsRunning());
    probed.ImportHistory(dir.Path().string());  // no refresh callback: must not fail either
    EXPECT_EQ(probe.seen, (std::vector<bool>{true, true}));
    EXPECT_FALSE(probed.IsRunning());
}

TEST_F(ImportCycleTest, FullReloadEmptiesTheStoreAndMakesTheNextCycleAFirstRun) {
    settings.OldestStatsInWeeks = 3;
    AddTable("Table", 1, kNow - 30);
    Run();
    ASSERT_FALSE(store.CountedHands().empty());
    cycle.UseLoadedCache(-1);

    cycle.RequestFullReload(kNow + 100);
    EXPECT_TRUE(cycle.State().fullImport);
    EXPECT_FALSE(cycle.State().cacheLoaded);
    EXPECT_TRUE(store.CountedHands().empty());
    EXPECT_TRUE(store.Files().empty());
    EXPECT_EQ(cycle.State().historyCutoff, kNow + 100 - 3 * kWeek);

    ui.messages.clear();
    Run();
    EXPECT_EQ(ui.messages, std::vector<std::string>{FirstRunMessage(3, 1)});
    EXPECT_TRUE(store.IsHandCounted(1));
}

}  // namespace

// Start-up after a loaded cache: the first cycle looks back from a little before the cache file
// was saved, since the tables written just before may hold hands the cache lacks.
TEST_F(ImportCycleTest, ALoadedCacheStartsTheLookBackBeforeTheCacheFileWasSaved) {
    const int64_t saved = kNow - 3600;
    AddTable("JustBefore", 1, saved - kCacheOverlapSeconds + 1);
    AddTable("Earlier", 2, saved - kCacheOverlapSeconds - 1);
    cycle.UseLoadedCache(saved);
    EXPECT_TRUE(cycle.State().cacheLoaded);
    EXPECT_TRUE(cycle.State().fullImport);
    EXPECT_EQ(cycle.State().historyCutoff, saved - kCacheOverlapSeconds);

    Run();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(store.IsHandCounted(1));
    EXPECT_FALSE(store.IsHandCounted(2));

    // A cache whose time cannot be read keeps the initial look-back.
    CImportCycle unknownTime(fs, store, progress, ui, clock, settings, nullptr);
    unknownTime.UseLoadedCache(-1);
    EXPECT_TRUE(unknownTime.State().cacheLoaded);
    EXPECT_EQ(unknownTime.State().historyCutoff, InitialHistoryCutoff());
}
