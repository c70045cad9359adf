// The counter totals the simulator knows each player must end up with, per
// (player, game, stake, size class) bucket, and their tab-separated file:
//   "# hands<TAB>N" then "name<TAB>game<TAB>stake<TAB>sizeclass<TAB>c0<TAB>...<TAB>c39".
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "CounterTruth.h"
#include "PlayerPool.h"

namespace pkrsim {

using CounterTotals = std::array<int64_t, CNT_MAX>;

class CExpectedCounters {
public:
    // Adds the counters of one hand played at a table of `game` and `stake`.
    void AddHand(const sHandRecord& hand, eGameType game, eStakeLevel stake);

    [[nodiscard]] int64_t Hands() const noexcept { return m_hands; }
    // Totals of a pool player in a bucket, or nullptr when he has none there.
    [[nodiscard]] const CounterTotals* Find(int player, sBucketKey bucket) const;
    // Every (player, bucket number) with its totals, ordered by player and then bucket.
    [[nodiscard]] std::map<std::pair<int, int>, CounterTotals> All() const;

    // Writes the file (names from `pool`); false when it cannot be written.
    bool Write(const std::string& path, const CPlayerPool& pool) const;

private:
    // Key player * BUCKET_COUNT + bucket.
    std::unordered_map<int64_t, CounterTotals> m_totals;
    std::vector<sSeatCounters> m_scratch;
    int64_t m_hands = 0;
};

// One line of an expected-counters file.
struct sExpectedRow {
    std::string name;
    int game = 0;
    int stake = 0;
    int sizeClass = 0;
    CounterTotals counters{};

    // The row's bucket; the numbers come from a file, so it can lie outside the axes.
    [[nodiscard]] sBucketKey Bucket() const noexcept {
        return {static_cast<eGameType>(game), static_cast<eStakeLevel>(stake),
                static_cast<eSizeClass>(sizeClass)};
    }
};

// Reads a file written by CExpectedCounters::Write; false when it is missing or malformed.
bool ReadExpectedCounters(const std::string& path, int64_t& hands, std::vector<sExpectedRow>& rows);

}  // namespace pkrsim
