// The texts of one seat's overlay: the player's hand count and statistics (main view), the
// per-street statistics (hover view), the names of the statistics shown (names views), and the
// text colour that says how loose the player plays.
//
// The table HUD composes a seat after its seats were read, for a seat whose name is not empty,
// with the settings record it was given.
//
// texts[0..3] are the overlay's texts for OVERLAY_NORMAL, OVERLAY_HOVER, OVERLAY_NAMES and
// OVERLAY_HOVER_NAMES; texts[0] is also kept in seats.m_strMain[seat]. Numbers come from the
// statistic formulas (hud/StatFormulas.h), so they read as in the command-line tool's stats.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "history/GameTypes.h"

class CStatsStore;
struct sSettings;
struct sSeatState;

inline constexpr int kSeatTextVariants = 4;
using SeatTexts = std::array<std::string, kSeatTextVariants>;

// Text colours as 0x00BBGGRR (a Windows COLORREF).
constexpr uint32_t SeatColour(uint8_t red, uint8_t green, uint8_t blue) {
    return uint32_t{red} | (uint32_t{green} << 8) | (uint32_t{blue} << 16);
}
inline constexpr uint32_t kColourNeutral = SeatColour(255, 255, 255);  // few hands, or average
inline constexpr uint32_t kColourLoose = SeatColour(0, 255, 0);        // VPIP above the range
inline constexpr uint32_t kColourTight = SeatColour(255, 0, 0);        // VPIP below the range
inline constexpr uint32_t kColourUnknown = SeatColour(159, 127, 127);  // no statistics

// Below this many hands in a player's own size class, the next larger class is tried.
inline constexpr int kFallbackHands = 10;
// Names in the main view are cut to this many bytes.
inline constexpr size_t kMainNameLength = 16;

// Composes the four texts of seat `seat` (0..9) into `texts`, keeps texts[0] in
// seats.m_strMain[seat], and returns the colour. `settings` chooses the statistics shown and
// whether cash stakes are pooled. A seat out of range gives empty texts and kColourUnknown.
uint32_t ComposeSeatText(const CStatsStore& store, const sSettings& settings, sSeatState& seats,
                         int seat, SeatTexts& texts);

// The statistics bucket a seat's player is shown from.
struct sSeatBucket {
    bool known = false;  // the player has hands there; otherwise he is shown as unknown
    eSizeClass sizeClass = SIZE_HEADSUP;  // the table's own class, or the next larger one ("*")
    int64_t hands = 0;
};

// The bucket for `player` at a table of bucket `table`: the table's own size class, or the next
// larger one when the player has fewer than 10 hands in his own and more in the next. A table
// whose game is not known yet, or whose key is out of range, shows the player as unknown.
[[nodiscard]] sSeatBucket ChooseSeatBucket(const CStatsStore& store, const sSettings& settings,
                                           int player, sBucketKey table);

// The colour for a player with `hands` hands and a VPIP of `vpipPercent` in `sizeClass`.
[[nodiscard]] uint32_t SeatColourFor(int64_t hands, float vpipPercent,
                                     eSizeClass sizeClass) noexcept;
