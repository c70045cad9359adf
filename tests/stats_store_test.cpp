#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "history/GameTypes.h"
#include "history/HandNumberSet.h"
#include "history/StatsStore.h"

namespace {

void AddHands(CStatsStore& store, int player, eStakeLevel stake, int hands) {
    store.CounterBlock(player, {GAME_HOLDEM, stake, SIZE_3TO6})[CNT_HANDS] += hands;
}

// A six-max hold'em bucket of `stake`.
constexpr sBucketKey HoldemSixMax(eStakeLevel stake) {
    return {GAME_HOLDEM, stake, SIZE_3TO6};
}

TEST(StatsStoreTest, NoLimitLevelsPoolUnlessSplit) {
    CStatsStore store;
    const int p = store.AddPlayer("Ann");
    AddHands(store, p, STAKE_25NL, 5);
    AddHands(store, p, STAKE_100NL, 7);
    AddHands(store, p, STAKE_LIMIT, 3);
    AddHands(store, p, STAKE_OTHER, 2);
    for (int level = STAKE_10NL; level <= STAKE_600NL; ++level) {
        EXPECT_EQ(
            store.GetCounter(p, HoldemSixMax(static_cast<eStakeLevel>(level)), CNT_HANDS, false),
            12);
    }
    EXPECT_EQ(store.GetCounter(p, HoldemSixMax(STAKE_LIMIT), CNT_HANDS, false), 3);
    EXPECT_EQ(store.GetCounter(p, HoldemSixMax(STAKE_OTHER), CNT_HANDS, false), 2);
    EXPECT_EQ(store.GetCounter(p, HoldemSixMax(STAKE_PLAYMONEY), CNT_HANDS, false), 0);
    EXPECT_EQ(store.GetCounter(p, HoldemSixMax(STAKE_25NL), CNT_HANDS, true), 5);
    EXPECT_EQ(store.GetCounter(p, HoldemSixMax(STAKE_100NL), CNT_HANDS, true), 7);
    EXPECT_EQ(store.GetCounter(p, {GAME_OMAHA, STAKE_25NL, SIZE_3TO6}, CNT_HANDS, false), 0)
        << "game types never pool";
}

TEST(StatsStoreTest, OutOfRangeArgumentsReadZeroAndBadPlayersThrow) {
    CStatsStore store;
    const int p = store.AddPlayer("Ann");
    AddHands(store, p, STAKE_OTHER, 4);
    // Axes and counters arrive as enums cast from numbers read from files and the command line.
    const auto stake = [](int level) { return static_cast<eStakeLevel>(level); };
    const auto counter = [](int k) { return static_cast<eCounter>(k); };
    EXPECT_EQ(store.GetCounter(p, HoldemSixMax(STAKE_OTHER), CNT_HANDS, false), 4);
    EXPECT_EQ(store.GetCounter(p, HoldemSixMax(STAKE_OTHER), counter(40), false), 0);
    EXPECT_EQ(store.GetCounter(p, {GAME_MAX, STAKE_OTHER, SIZE_3TO6}, CNT_HANDS, false), 0);
    EXPECT_EQ(store.GetCounter(p, {GAME_HOLDEM, STAKE_OTHER, SIZECLASS_MAX}, CNT_HANDS, false), 0);
    EXPECT_EQ(store.GetCounter(p, HoldemSixMax(stake(11)), CNT_HANDS, false), 0);
    EXPECT_EQ(store.GetCounter(p, HoldemSixMax(stake(-1)), CNT_HANDS, false), 0);
    EXPECT_THROW((void)store.GetCounter(1, HoldemSixMax(STAKE_OTHER), CNT_HANDS, false),
                 std::out_of_range);
    EXPECT_THROW((void)store.GetCounter(-1, HoldemSixMax(STAKE_OTHER), CNT_HANDS, false),
                 std::out_of_range);
}

// A bad game or size class beside a pooled no-limit level, or a bad counter, must not reach a
// neighbouring bucket through the flat index: {game 0, size 3} would be {game 0, next stake, 0}.
TEST(StatsStoreTest, OutOfRangeKeysNeverReadANeighbouringBucket) {
    CStatsStore store;
    const int p = store.AddPlayer("Ann");
    for (const sBucketKey key : {sBucketKey{GAME_HOLDEM, STAKE_25NL, SIZE_HEADSUP},
                                 sBucketKey{GAME_OMAHA, STAKE_10NL, SIZE_7TO10},
                                 sBucketKey{GAME_HOLDEM, STAKE_50NL, SIZE_HEADSUP}}) {
        int32_t* block = store.CounterBlock(p, key);
        for (const eCounter k : kCounters) {
            block[k] = 9;
        }
    }
    const auto size = [](int sizeClass) { return static_cast<eSizeClass>(sizeClass); };
    const auto game = [](int g) { return static_cast<eGameType>(g); };
    for (const bool split : {false, true}) {
        EXPECT_EQ(store.GetCounter(p, {GAME_HOLDEM, STAKE_10NL, size(3)}, CNT_HANDS, split), 0);
        EXPECT_EQ(store.GetCounter(p, {GAME_HOLDEM, STAKE_25NL, size(-1)}, CNT_HANDS, split), 0);
        EXPECT_EQ(store.GetCounter(p, {game(-1), STAKE_600NL, SIZE_7TO10}, CNT_HANDS, split), 0);
        EXPECT_EQ(store.GetCounter(p, {GAME_HOLDEM, STAKE_25NL, SIZE_HEADSUP},
                                   static_cast<eCounter>(-1), split),
                  0);
    }
    EXPECT_EQ(store.RawCounter(p, {GAME_HOLDEM, STAKE_10NL, size(3)}, CNT_HANDS), 0);
    EXPECT_EQ(store.RawCounter(p, {GAME_HOLDEM, STAKE_25NL, SIZE_HEADSUP}, CNT_MAX), 0);
    EXPECT_EQ(store.FindCounterBlock(p, {GAME_HOLDEM, STAKE_25NL, size(-1)}), nullptr);
    EXPECT_EQ(store.FindCounterBlock(1, {GAME_HOLDEM, STAKE_25NL, SIZE_HEADSUP}), nullptr);
    EXPECT_THROW((void)store.CounterBlock(p, {GAME_HOLDEM, STAKE_MAX, SIZE_HEADSUP}),
                 std::out_of_range);
    EXPECT_THROW((void)store.CounterBlock(p, {game(2), STAKE_10NL, SIZE_HEADSUP}),
                 std::out_of_range);
    EXPECT_EQ(store.PlayerBuckets(p).size(), 3u) << "a refused key creates no block";
    EXPECT_TRUE(store.PlayerBuckets(7).empty());
}

TEST(StatsStoreTest, NamesMatchByteForByte) {
    CStatsStore store;
    EXPECT_EQ(store.FindPlayer("Ann"), -1);
    EXPECT_EQ(store.AddPlayer("Ann"), 0);
    EXPECT_EQ(store.AddPlayer("ann"), 1);
    EXPECT_EQ(store.AddPlayer("Anna"), 2);
    EXPECT_EQ(store.AddPlayer(""), 3);
    EXPECT_EQ(store.FindPlayer("Ann"), 0);
    EXPECT_EQ(store.FindPlayer("ann"), 1);
    EXPECT_EQ(store.FindPlayer("An"), -1);
    EXPECT_EQ(store.FindPlayer(""), 3);
    // A duplicate (as a cache file may hold) never hides the first player of that name.
    EXPECT_EQ(store.AddPlayer("Ann"), 4);
    EXPECT_EQ(store.FindPlayer("Ann"), 0);
}

TEST(StatsStoreTest, LookupStaysRightAcrossIndexGrowth) {
    CStatsStore store;
    for (int i = 0; i < 20000; ++i) {
        ASSERT_EQ(store.AddPlayer("P" + std::to_string(i)), i);
    }
    for (int i = 0; i < 20000; i += 997) {
        EXPECT_EQ(store.FindPlayer("P" + std::to_string(i)), i);
    }
    EXPECT_EQ(store.FindPlayer("P20000"), -1);
}

TEST(StatsStoreTest, DenseRecordRoundTripsThroughTheSparseCounters) {
    CStatsStore store;
    const int p = store.AddPlayer("Ann");
    auto record = std::make_unique<CPKR_PlayerRecord>();
    record->m_nId = 77;
    record->m_anCounters[0] = 5;
    record->m_anCounters[BUCKET_COUNT * CNT_MAX - 1] = -3;
    store.SetRecord(p, *record);
    EXPECT_EQ(store.PlayerId(p), 77);
    EXPECT_EQ(store.PlayerBuckets(p),
              (std::vector<sBucketKey>{{GAME_HOLDEM, STAKE_PLAYMONEY, SIZE_HEADSUP},
                                       {GAME_OMAHA, STAKE_OTHER, SIZE_7TO10}}));
    auto back = std::make_unique<CPKR_PlayerRecord>();
    store.GetRecord(p, *back);
    EXPECT_EQ(0, std::memcmp(record.get(), back.get(), sizeof(CPKR_PlayerRecord)));
}

TEST(StatsStoreTest, ResetEmptiesEverything) {
    CStatsStore store;
    store.AddPlayer("Ann");
    store.AddCountedHand(9);
    store.AppendLoadedFile("x", 1);
    store.ResetStatistics();
    EXPECT_EQ(store.PlayerCount(), 0);
    EXPECT_EQ(store.FindPlayer("Ann"), -1);
    EXPECT_TRUE(store.CountedHands().empty());
    EXPECT_FALSE(store.IsHandCounted(9));
    EXPECT_TRUE(store.Files().empty());
    EXPECT_TRUE(store.FileTimes().empty());
}

TEST(StatsStoreFileCache, OneEntryPerPathUpdatedInPlace) {
    CStatsStore store;
    EXPECT_EQ(store.FileTime("/hh/a.txt"), std::nullopt);
    store.RecordFileTime("/hh/a.txt", 100);
    store.RecordFileTime("/hh/b.txt", 50);
    // Every later write of a table records its new time where its entry already is.
    for (int64_t t = 101; t < 200; ++t) {
        store.RecordFileTime("/hh/a.txt", t);
    }
    EXPECT_EQ(store.Files(), (std::vector<std::string>{"/hh/a.txt", "/hh/b.txt"}));
    EXPECT_EQ(store.FileTimes(), (std::vector<int64_t>{199, 50}));
    EXPECT_EQ(store.FileTime("/hh/a.txt"), 199);
    // Paths are compared byte for byte.
    EXPECT_EQ(store.FileTime("/hh/A.txt"), std::nullopt);
    // A time going back (a file restored from a copy) is recorded as it is.
    store.RecordFileTime("/hh/b.txt", 10);
    EXPECT_EQ(store.FileTime("/hh/b.txt"), 10);

    store.ResetStatistics();
    EXPECT_EQ(store.FileTime("/hh/a.txt"), std::nullopt);
    store.RecordFileTime("/hh/c.txt", 7);
    EXPECT_EQ(store.Files(), std::vector<std::string>{"/hh/c.txt"});
}

// Cache files of earlier versions appended an entry at every write of a table.
TEST(StatsStoreFileCache, RepeatedEntriesOfALoadedCacheFoldIntoTheFirstWithTheNewestTime) {
    CStatsStore store;
    store.AppendLoadedFile("/a", 10);
    store.AppendLoadedFile("/b", 20);
    store.AppendLoadedFile("/a", 30);
    store.AppendLoadedFile("/c", 5);
    store.AppendLoadedFile("/a", 25);
    store.AppendLoadedFile("/b", 15);
    EXPECT_EQ(store.FileTime("/a"), 30);
    EXPECT_EQ(store.FileTime("/b"), 20);
    EXPECT_EQ(store.Files(), (std::vector<std::string>{"/a", "/b", "/c"}));
    EXPECT_EQ(store.FileTimes(), (std::vector<int64_t>{30, 20, 5}));

    // Entries appended afterwards the way the loader does are noticed too.
    store.AppendLoadedFile("/c", 8);
    store.RecordFileTime("/d", 1);
    EXPECT_EQ(store.Files(), (std::vector<std::string>{"/a", "/b", "/c", "/d"}));
    EXPECT_EQ(store.FileTimes(), (std::vector<int64_t>{30, 20, 8, 1}));
}

TEST(HandNumberSetTest, HoldsZeroLargeAndManyNumbers) {
    CHandNumberSet set;
    EXPECT_FALSE(set.Contains(0));
    EXPECT_TRUE(set.Insert(0));
    EXPECT_FALSE(set.Insert(0));
    EXPECT_TRUE(set.Insert(4294967295u));
    for (uint32_t h = 1; h < 100000; h += 3) {
        set.Insert(h);
    }
    EXPECT_TRUE(set.Contains(0));
    EXPECT_TRUE(set.Contains(4294967295u));
    EXPECT_TRUE(set.Contains(99997));
    EXPECT_FALSE(set.Contains(99998));
    EXPECT_EQ(set.Size(), 2u + 33333u);
}

}  // namespace
