#include "tools/lanternquill/StatsRows.h"

#include <algorithm>

#include "history/StatsStore.h"
#include "tools/lanternquill/BucketNames.h"

namespace {

// The values of one axis the selection covers.
template <size_t N>
std::vector<int> AxisValues(const std::optional<int>& chosen, const std::array<int, N>& all) {
    if (chosen) {
        return {*chosen};
    }
    return std::vector<int>(all.begin(), all.end());
}

}  // namespace

CounterTotals SumCounters(const CStatsStore& store, int player, const sBucketSelection& selection) {
    CounterTotals totals{};
    const std::vector<int> games = AxisValues(selection.game, kAllGames);
    const std::vector<int> sizeClasses = AxisValues(selection.sizeClass, kAllSizeClasses);
    for (const int game : games) {
        for (const int sizeClass : sizeClasses) {
            if (selection.stake) {
                for (int k = 0; k < CNT_MAX; ++k) {
                    totals[k] += store.GetCounter(player, game, *selection.stake, sizeClass, k,
                                                  selection.splitStakes);
                }
                continue;
            }
            for (int stake = 0; stake < STAKE_MAX; ++stake) {
                const int32_t* block =
                    store.FindCounterBlock(player, BucketIndex(game, stake, sizeClass));
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
