// The simulated players: a global pool of screen names with a playing style each, from which
// every table draws its opponents, so the same players meet at several tables and stakes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Rng.h"

namespace pkrsim {

// Tendencies of one player, as probabilities or scale factors in [0, 1]. Loose players enter
// more pots, aggressive ones bet and raise rather than call, so their statistics differ.
struct sPlayerStyle {
    double looseness = 0.25;   // how often he puts money in before the flop
    double raiseFirst = 0.5;   // share of the pots he enters with a raise
    double threeBet = 0.06;    // re-raise frequency facing a single raise
    double fourBet = 0.3;      // re-raise frequency facing two or more raises
    double aggression = 0.4;   // bets and raises after the flop
    double contiBet = 0.6;     // bets the flop after raising before it
    double foldToBet = 0.5;    // gives up facing a bet after the flop
    double checkRaise = 0.08;  // raises after checking on the same street
    double muckLosers = 0.6;   // mucks a beaten hand at showdown instead of showing it
};

class CPlayerPool {
public:
    // `screenName` is player 0; `opponents` more players get generated names and styles.
    CPlayerPool(std::string_view screenName, int opponents, CRng& rng);

    [[nodiscard]] int Size() const noexcept { return static_cast<int>(m_names.size()); }
    [[nodiscard]] const std::string& Name(int player) const { return m_names[player]; }
    [[nodiscard]] const sPlayerStyle& Style(int player) const { return m_styles[player]; }

private:
    std::vector<std::string> m_names;
    std::vector<sPlayerStyle> m_styles;
};

// True when a screen name is safe for the counters' truth: no blank or control byte, nothing
// a file or folder name cannot hold, and not containing "Seat".
bool IsUsableScreenName(std::string_view name) noexcept;

}  // namespace pkrsim
