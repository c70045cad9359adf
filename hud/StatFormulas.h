// The statistics the HUD shows, worked out from one block of 40 counters (history/GameTypes.h):
// each item's numerator and denominator, whether it is shown as a number or as "num/den", its
// value and its display text. The command-line tool prints the same texts.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "history/GameTypes.h"

enum class eStat : int {
    VPIP,
    PFR,
    WTSD,            // went to showdown, of the hands that saw the flop
    WonSD,           // won at showdown ("W$SD")
    ThreeBet,        // preflop three-bets made, of the chances
    FoldToThreeBet,  // folds to a three-bet, of the three-bets faced
    // The last three are per street (flop, turn, river).
    Cbet,
    FoldToCbet,
    Aggression,  // bets and raises per passive action, times 100 ("AF")
};

[[nodiscard]] constexpr bool IsStreetStat(eStat stat) {
    return stat == eStat::Cbet || stat == eStat::FoldToCbet || stat == eStat::Aggression;
}

// One item for one block of counters. Sums of counters are 64-bit so that a block read from an
// untrusted cache file cannot overflow them.
struct sStatFigure {
    eStat stat = eStat::VPIP;
    int64_t num = 0;
    int64_t den = 0;
    bool hasValue = false;  // `value` is defined: den is not 0, or the item is AF
    bool asNumber = false;  // the text shows the value; otherwise it shows "num/den"
    float value = 0.0f;     // 100 * num / den in single precision; AF reads 100 when den is 0
};

// `street` (STREET_FLOP, STREET_TURN, STREET_RIVER) selects the counters of the per-street items
// and is ignored by the others; a street outside that range gives an empty figure (0/0).
[[nodiscard]] sStatFigure ComputeStat(eStat stat, std::span<const int32_t, CNT_MAX> counters,
                                      eStreet street = STREET_FLOP) noexcept;
[[nodiscard]] sStatFigure ComputeStat(eStat stat, std::span<const int64_t, CNT_MAX> counters,
                                      eStreet street = STREET_FLOP) noexcept;

// The HUD's text of an item, e.g. "23.5", "3/7", "3bet 30.0", "ft3bet 2/5", "AF 240".
[[nodiscard]] std::string StatText(const sStatFigure& figure);

// Decimals of the value in the display text: 1 for VPIP, PFR, 3bet and fold to 3bet, else 0.
[[nodiscard]] int StatDecimals(eStat stat) noexcept;

// The item's name as the HUD's names view writes it: "VPIP", "PFR", "WTSD", "W$SD", "3bet",
// "fold to 3bet", "cbet", "ftcbet", "AgFr".
[[nodiscard]] std::string_view StatName(eStat stat) noexcept;

// `value` rounded to `decimals` places, as "%0.*f" would print it but identical on every
// platform (the C runtimes disagree on rounding ties). `decimals` is kept within 0..9.
[[nodiscard]] std::string FormatFixed(float value, int decimals);
