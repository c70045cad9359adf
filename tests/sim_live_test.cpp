// pkr-sim's live mode: the same hands as the batch mode, written hand by hand in two steps.
#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "LiveSimulation.h"
#include "SimArguments.h"
#include "Simulator.h"
#include "history/HistoryParser.h"
#include "history/StatsStore.h"
#include "tests/TestSupport.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScopedTempDir;

pkrsim::sSimOptions SmallOptions(const std::string& outDir) {
    pkrsim::sSimOptions options;
    options.outDir = outDir;
    options.seed = 77;
    options.tables = 3;
    options.hands = 14;  // not a multiple of the tables: they run out at different turns
    options.players = 20;
    options.date = "20240610";
    options.live = true;
    options.paceMs = 0;
    return options;
}

size_t CountOf(const std::string& text, const std::string& word) {
    size_t count = 0;
    for (size_t pos = text.find(word); pos != std::string::npos; pos = text.find(word, pos + 1)) {
        ++count;
    }
    return count;
}

TEST(SimLive, WritesTheSameBytesAsTheBatchMode) {
    ScopedTempDir batchDir;
    ScopedTempDir liveDir;
    pkrsim::sSimOptions batch = SmallOptions(batchDir.Path().string());
    batch.live = false;
    const pkrsim::sSimOptions live = SmallOptions(liveDir.Path().string());

    pkrsim::sSimResult batchResult;
    pkrsim::sSimResult liveResult;
    std::string error;
    ASSERT_TRUE(pkrsim::RunSimulation(batch, batchResult, error)) << error;
    ASSERT_TRUE(pkrsim::RunLiveSimulation(live, liveResult, error)) << error;

    EXPECT_EQ(liveResult.handsWritten, 14);
    ASSERT_EQ(liveResult.files.size(), batchResult.files.size());
    for (size_t i = 0; i < batchResult.files.size(); ++i) {
        EXPECT_EQ(ReadFile(liveResult.files[i]), ReadFile(batchResult.files[i])) << i;
    }
    EXPECT_EQ(ReadFile(liveResult.expectedCountersPath),
              ReadFile(batchResult.expectedCountersPath));
}

TEST(SimLive, EachHandArrivesInTwoWritesAndAReaderCountsOnlyWholeHands) {
    ScopedTempDir dir;
    const pkrsim::sSimOptions options = SmallOptions(dir.Path().string());
    std::vector<std::string> started;
    std::map<std::string, int> completeHands;
    int halfWrites = 0;
    pkrsim::sLiveObserver observer;
    observer.started = [&](const std::vector<std::string>& files) {
        started = files;
        for (const auto& file : files) {
            EXPECT_EQ(ReadFile(file), "");  // created empty before the first hand
        }
    };
    observer.written = [&](const std::string& file, bool handComplete) {
        const std::string text = ReadFile(file);
        const size_t starts = CountOf(text, "Starting Hand #");
        const size_t ends = CountOf(text, "End Of Hand #");
        CStatsStore store;
        ParseHistoryText(store, text);
        if (handComplete) {
            ++completeHands[file];
            EXPECT_EQ(ends, starts);
        } else {
            ++halfWrites;
            EXPECT_EQ(ends + 1, starts) << "the first write must stop inside the hand";
        }
        // The HUD reads the file at any moment: a half-written hand must not be counted.
        EXPECT_EQ(store.CountedHands().size(), ends);
    };
    pkrsim::sSimResult result;
    std::string error;
    ASSERT_TRUE(pkrsim::RunLiveSimulation(options, result, error, observer)) << error;

    EXPECT_EQ(started, result.files);
    EXPECT_EQ(halfWrites, 14);
    EXPECT_EQ(completeHands[result.files[0]], 5);
    EXPECT_EQ(completeHands[result.files[1]], 5);
    EXPECT_EQ(completeHands[result.files[2]], 4);
}

TEST(SimLive, StopsWhenItsTimeIsUp) {
    ScopedTempDir dir;
    pkrsim::sSimOptions options = SmallOptions(dir.Path().string());
    options.hands = pkrsim::kMaxHands;
    options.paceMs = 300;
    options.liveSeconds = 1;
    pkrsim::sSimResult result;
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(pkrsim::RunLiveSimulation(options, result, error)) << error;
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_GE(elapsed, std::chrono::seconds(1));
    EXPECT_LT(elapsed, std::chrono::seconds(3));
    EXPECT_GE(result.handsWritten, 1);
    EXPECT_LE(result.handsWritten, 4);  // one hand per 300 ms at most
    EXPECT_FALSE(ReadFile(result.expectedCountersPath).empty());
}

TEST(SimLive, CommandLineDefaultsToEndlessHandsUnlessGiven) {
    std::string error;
    pkrsim::sSimOptions endless;
    ASSERT_EQ(pkrsim::ParseSimArguments(
                  {"--out", "x", "--live", "--pace", "50", "--live-seconds", "9"}, endless, error),
              pkrsim::eArgsResult::Run)
        << error;
    EXPECT_TRUE(endless.live);
    EXPECT_EQ(endless.paceMs, 50);
    EXPECT_EQ(endless.liveSeconds, 9);
    EXPECT_EQ(endless.hands, pkrsim::kMaxHands);

    pkrsim::sSimOptions counted;
    ASSERT_EQ(pkrsim::ParseSimArguments({"--hands=5", "--live", "--out", "x"}, counted, error),
              pkrsim::eArgsResult::Run);
    EXPECT_EQ(counted.hands, 5);

    pkrsim::sSimOptions bad;
    EXPECT_EQ(pkrsim::ParseSimArguments({"--out", "x", "--live", "--pace", "-1"}, bad, error),
              pkrsim::eArgsResult::Error);
    EXPECT_EQ(pkrsim::ParseSimArguments({"--out", "x", "--live-seconds", "soon"}, bad, error),
              pkrsim::eArgsResult::Error);
}

}  // namespace
