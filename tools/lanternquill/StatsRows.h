// The rows of the stats command: each player's counters summed over the chosen buckets.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "history/GameTypes.h"

class CStatsStore;

// Which buckets a row sums; an empty axis means every value of it.
struct sBucketSelection {
    std::optional<eGameType> game;
    std::optional<eStakeLevel> stake;
    std::optional<eSizeClass> sizeClass;
    bool splitStakes = false;  // with a no-limit stake: read that level alone, not the pool
};

using CounterTotals = std::array<int64_t, CNT_MAX>;

struct sStatsRow {
    int player = -1;
    std::string_view name;  // refers to the store's name
    CounterTotals counters{};
};

// A player's counters over the selection. With a stake the counters are read through
// GetCounter, so the no-limit levels pool unless `splitStakes`; without one every level's own
// counters are added once (adding pooled reads would count no-limit hands seven times).
[[nodiscard]] CounterTotals SumCounters(const CStatsStore& store, int player,
                                        const sBucketSelection& selection);

// Rows of every player (or only `onlyPlayer`) with at least `minHands` hands in the selection,
// most hands first, then by name.
[[nodiscard]] std::vector<sStatsRow> CollectStatsRows(const CStatsStore& store,
                                                      const sBucketSelection& selection,
                                                      std::optional<int> onlyPlayer,
                                                      int64_t minHands);
