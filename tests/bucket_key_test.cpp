// The typed bucket key and counter names: arguments given in the wrong order do not compile, the
// key's number is the record's bucket number, and values cast from bad numbers are caught.
#include <gtest/gtest.h>

#include <concepts>
#include <set>
#include <string_view>

#include "history/GameTypes.h"
#include "history/HistoryParser.h"
#include "history/StatsStore.h"

namespace {

// Whether `sBucketKey{a, b, c}` compiles for arguments of these types.
template <typename A, typename B, typename C>
concept MakesKey = requires(A a, B b, C c) {
    sBucketKey{a, b, c};
};

static_assert(MakesKey<eGameType, eStakeLevel, eSizeClass>);
static_assert(!MakesKey<eStakeLevel, eGameType, eSizeClass>, "game and stake swapped");
static_assert(!MakesKey<eGameType, eSizeClass, eStakeLevel>, "stake and size class swapped");
static_assert(!MakesKey<int, int, int>, "bare numbers are not axes");

// Whether `store.GetCounter(player, key, k, split)` compiles for these types.
template <typename Player, typename Key, typename Counter>
concept ReadsCounter = requires(const CStatsStore& store, Player player, Key key, Counter k) {
    store.GetCounter(player, key, k, false);
};

static_assert(ReadsCounter<int, sBucketKey, eCounter>);
static_assert(!ReadsCounter<eCounter, sBucketKey, int>, "player and counter swapped");
static_assert(!ReadsCounter<int, sBucketKey, int>, "a bare number is not a counter");
static_assert(!ReadsCounter<int, sBucketKey, eStreetCounter>, "a street offset is not a counter");
static_assert(!ReadsCounter<int, int, eCounter>, "a bucket number is not a key");

// The same for the raw counter and the counter block.
template <typename Key, typename Counter>
concept ReadsRawCounter = requires(const CStatsStore& store, Key key, Counter k) {
    store.RawCounter(0, key, k);
};
static_assert(ReadsRawCounter<sBucketKey, eCounter>);
static_assert(!ReadsRawCounter<int, eCounter>);
static_assert(!ReadsRawCounter<sBucketKey, int>);

template <typename Key>
concept FindsBlock = requires(CStatsStore& store, Key key) {
    store.CounterBlock(0, key);
};
static_assert(FindsBlock<sBucketKey>);
static_assert(!FindsBlock<int>);

static_assert(std::same_as<decltype(DetectGameType(std::string_view{})), eGameType>);
static_assert(std::same_as<decltype(DetectStakeLevel(std::string_view{})), eStakeLevel>);
static_assert(std::same_as<decltype(StreetCounter(STREET_TURN, STREET_CBET)), eCounter>);

}  // namespace

// The cache file's record keeps 66 buckets of 40 counters, game type first, then stake level,
// then size class: every valid key has its own number there and At finds the key back.
TEST(BucketKeyTest, NumbersAreTheRecordsBucketOrderAndAtInvertsThem) {
    std::set<int> seen;
    int expected = 0;
    for (int game = 0; game < GAME_MAX; ++game) {
        for (int stake = 0; stake < STAKE_MAX; ++stake) {
            for (int size = 0; size < SIZECLASS_MAX; ++size) {
                const sBucketKey key{static_cast<eGameType>(game), static_cast<eStakeLevel>(stake),
                                     static_cast<eSizeClass>(size)};
                ASSERT_TRUE(key.IsValid());
                EXPECT_EQ(key.Index(), expected++);
                EXPECT_EQ(sBucketKey::At(key.Index()), key);
                seen.insert(key.Index());
            }
        }
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(BUCKET_COUNT));
    EXPECT_EQ(*seen.rbegin(), BUCKET_COUNT - 1);
}

// Axes cast from numbers that lie outside them (a damaged cache file, a table's text, the
// command line) make an invalid key, including those whose number would still fall inside the
// record, such as size class 3 of a stake level (the next level's heads-up bucket).
TEST(BucketKeyTest, AxesOutsideTheirRangeMakeAnInvalidKey) {
    const sBucketKey inside{GAME_HOLDEM, STAKE_10NL, SIZE_3TO6};
    for (const int bad : {-1, 3, 11, 1000}) {
        sBucketKey key = inside;
        key.sizeClass = static_cast<eSizeClass>(bad);
        EXPECT_EQ(key.IsValid(), false) << "size class " << bad;
        key = inside;
        key.stake = static_cast<eStakeLevel>(bad);
        EXPECT_EQ(key.IsValid(), bad == 3) << "stake " << bad;
        key = inside;
        key.game = static_cast<eGameType>(bad);
        EXPECT_EQ(key.IsValid(), false) << "game " << bad;
    }
}

TEST(BucketKeyTest, StreetCountersFollowTheStreetsRunsOfTen) {
    std::set<int> streetCounters;
    for (const eStreet street : kStreets) {
        for (int offset = 0; offset < STREET_COUNTERS; ++offset) {
            streetCounters.insert(StreetCounter(street, static_cast<eStreetCounter>(offset)));
        }
    }
    EXPECT_EQ(streetCounters.size(), 30u);
    EXPECT_EQ(*streetCounters.begin(), CNT_FLOPFOLD);
    EXPECT_EQ(*streetCounters.rbegin(), CNT_RIVERRAISECBET);
    EXPECT_EQ(StreetCounter(STREET_TURN, STREET_FOLD), CNT_TURNFOLD);
    EXPECT_EQ(StreetCounter(STREET_RIVER, STREET_CALLCBET), CNT_RIVERCALLCBET);
}
