#include "tools/lanternquill/StatsRows.h"

#include <algorithm>

#include "history/StatsStore.h"
#include "tools/lanternquill/BucketNames.h"

namespace {

// The values of one axis the selection covers.
template <typename Axis, size_t N>
std::vector<Axis> AxisValues(const std::optional<Axis>& chosen, const std::array<Axis, N>& all) {
    if (chosen) {
        return {*chosen};
    }
    return std::vector<Axis>(all.begin(), all.end());
}

}  // namespace

CounterTotals SumCounters(const CStatsStore& store, int player, const sBucketSelection& selection) {
    CounterTotals totals{};
    const std::vector<eGameType> games = AxisValues(selection.game, kAllGames);
    const std::vector<eSizeClass> sizeClasses = AxisValues(selection.sizeClass, kAllSizeClasses);
    for (const eGameType game : games) {
        for (const eSizeClass sizeClass : sizeClasses) {
            if (selection.stake) {
                const sBucketKey key{game, *selection.stake, sizeClass};
                for (const eCounter k : kCounters) {
                    totals[k] += store.GetCounter(player, key, k, selection.splitStakes);
                }
                continue;
            }
            for (int stake = 0; stake < STAKE_MAX; ++stake) {
                const int32_t* block = store.FindCounterBlock(
                    player, {game, static_cast<eStakeLevel>(stake), sizeClass});
                if (block == nullptr) {
                    continue;
                }
                for (int k = 0; k < CNT_MAX; ++k) {
                    totals[k] += block[k];
                }
            }
        }
    }
    return totals;
}

std::vector<sStatsRow> CollectStatsRows(const CStatsStore& store, const sBucketSelection& selection,
                                        std::optional<int> onlyPlayer, int64_t minHands) {
    std::vector<sStatsRow> rows;
    const int first = onlyPlayer.value_or(0);
    const int end = onlyPlayer ? *onlyPlayer + 1 : store.PlayerCount();
    for (int player = first; player < end; ++player) {
        sStatsRow row;
        row.player = player;
        row.name = store.PlayerName(player);
        row.counters = SumCounters(store, player, selection);
        if (row.counters[CNT_HANDS] >= minHands) {
            rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end(), [](const sStatsRow& a, const sStatsRow& b) {
        if (a.counters[CNT_HANDS] != b.counters[CNT_HANDS]) {
            return a.counters[CNT_HANDS] > b.counters[CNT_HANDS];
        }
        if (a.name != b.name) {
            return a.name < b.name;
        }
        return a.player < b.player;
    });
    return rows;
}
