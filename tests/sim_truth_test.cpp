// The simulator knows what every player did; the parser only sees the text. Parsing a simulated
// corpus must give every player exactly the counters the simulator expects, bucket by bucket.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "ExpectedCounters.h"
#include "Simulator.h"
#include "history/HistoryParser.h"
#include "history/StatsStore.h"
#include "tests/TestSupport.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScopedTempDir;

pkrsim::sSimOptions CorpusOptions(const ScopedTempDir& dir, bool laterFormat, uint64_t seed) {
    pkrsim::sSimOptions options;
    options.outDir = dir.Path().string();
    options.seed = seed;
    options.tables = 12;  // every stake level has a table
    options.hands = 3000;
    options.players = 60;  // a small pool, so players meet at several tables and stakes
    options.date = "20240315";
    options.laterFormat = laterFormat;
    return options;
}

pkrsim::sSimResult Generate(const pkrsim::sSimOptions& options) {
    pkrsim::sSimResult result;
    std::string error;
    EXPECT_TRUE(pkrsim::RunSimulation(options, result, error)) << error;
    return result;
}

// Every difference between the store and the expected counters, one per line (empty: none).
std::string CompareWithExpected(const CStatsStore& store, const std::string& expectedPath) {
    int64_t hands = 0;
    std::vector<pkrsim::sExpectedRow> rows;
    if (!pkrsim::ReadExpectedCounters(expectedPath, hands, rows)) {
        return "cannot read " + expectedPath;
    }
    std::ostringstream diff;
    std::set<std::pair<int, int>> expectedBuckets;
    for (const auto& row : rows) {
        const int player = store.FindPlayer(row.name);
        if (player < 0) {
            diff << row.name << ": missing from the store\n";
            continue;
        }
        const sBucketKey bucket = row.Bucket();
        expectedBuckets.insert({player, bucket.Index()});
        for (const eCounter k : kCounters) {
            const int32_t actual = store.RawCounter(player, bucket, k);
            if (actual != row.counters[k]) {
                diff << row.name << " game " << row.game << " stake " << row.stake << " size "
                     << row.sizeClass << " " << kCounterNames[k] << ": parsed " << actual
                     << ", expected " << row.counters[k] << "\n";
            }
        }
    }
    // Nothing extra: any other counter block of any player holds only zeros.
    for (int player = 0; player < store.PlayerCount(); ++player) {
        for (const sBucketKey bucket : store.PlayerBuckets(player)) {
            if (expectedBuckets.count({player, bucket.Index()}) != 0) {
                continue;
            }
            for (const eCounter k : kCounters) {
                if (store.RawCounter(player, bucket, k) != 0) {
                    diff << store.PlayerName(player) << " bucket " << bucket.Index() << " "
                         << kCounterNames[k] << ": parsed " << store.RawCounter(player, bucket, k)
                         << ", expected nothing\n";
                }
            }
        }
    }
    return diff.str();
}

class SimTruthTest : public ::testing::TestWithParam<bool> {};

TEST_P(SimTruthTest, ParsedCountersEqualThePlayedOnesAndAReparseAddsNothing) {
    ScopedTempDir dir;
    const auto result = Generate(CorpusOptions(dir, GetParam(), 20240315));
    ASSERT_EQ(result.handsWritten, 3000);

    CStatsStore store;
    ParseHistoryFiles(store, result.files, nullptr);
    EXPECT_EQ(static_cast<int64_t>(store.CountedHands().size()), result.handsWritten);
    const std::string diff = CompareWithExpected(store, result.expectedCountersPath);
    EXPECT_TRUE(diff.empty()) << diff.substr(0, 4000);

    ParseHistoryFiles(store, result.files, nullptr);
    EXPECT_EQ(static_cast<int64_t>(store.CountedHands().size()), result.handsWritten);
    EXPECT_EQ(CompareWithExpected(store, result.expectedCountersPath), "");
}

INSTANTIATE_TEST_SUITE_P(BothFormats, SimTruthTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Later" : "Earlier"; });

TEST(SimTruth, SingleTableTextCarriesItsExpectedCounters) {
    // Heads-up to full ring, each stake family once: the per-table generator agrees with the
    // parser as well.
    for (const int stake :
         {STAKE_PLAYMONEY, STAKE_TOURNAMENT, STAKE_LIMIT, STAKE_10NL, STAKE_OTHER}) {
        pkrsim::sSimOptions options;
        options.seed = 77 + stake;
        options.hands = 150;
        options.stake = stake;
        options.date = "20240315";
        std::vector<pkrsim::sExpectedRow> expected;
        const std::string text = pkrsim::GenerateTableText(options, &expected);
        ASSERT_FALSE(expected.empty());

        CStatsStore store;
        ParseHistoryText(store, text);
        EXPECT_EQ(store.CountedHands().size(), 150u);
        for (const auto& row : expected) {
            EXPECT_EQ(row.stake, stake);
            const int player = store.FindPlayer(row.name);
            ASSERT_GE(player, 0) << row.name;
            for (const eCounter k : kCounters) {
                EXPECT_EQ(store.RawCounter(player, row.Bucket(), k), row.counters[k])
                    << row.name << " " << kCounterNames[k] << " at stake " << stake;
            }
        }
    }
}

TEST(SimTruth, SameSeedWritesIdenticalBytesAndAnotherSeedDoesNot) {
    ScopedTempDir a;
    ScopedTempDir b;
    ScopedTempDir c;
    auto options = CorpusOptions(a, false, 5);
    options.hands = 400;
    const auto first = Generate(options);
    options.outDir = b.Path().string();
    const auto second = Generate(options);
    options.outDir = c.Path().string();
    options.seed = 6;
    const auto third = Generate(options);

    ASSERT_EQ(first.files.size(), second.files.size());
    bool anyDifferent = false;
    for (size_t i = 0; i < first.files.size(); ++i) {
        const std::string bytes = ReadFile(first.files[i]);
        EXPECT_FALSE(bytes.empty());
        EXPECT_EQ(bytes, ReadFile(second.files[i])) << first.files[i];
        anyDifferent = anyDifferent || i >= third.files.size() || bytes != ReadFile(third.files[i]);
    }
    EXPECT_EQ(ReadFile(first.expectedCountersPath), ReadFile(second.expectedCountersPath));
    EXPECT_TRUE(anyDifferent);
}

}  // namespace
