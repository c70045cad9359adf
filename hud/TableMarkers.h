// The game and stake level of a table, from the markers anywhere in its hand history file, as
// the seat reader needs them on every refresh tick. The parser classifies a file by its first
// 2500 bytes only; here the whole text counts.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "history/GameTypes.h"

// A marker counts when its first occurrence in the text lies at a position of 1 or more (the
// very first bytes of a file are not taken as a marker).
struct sTableMarkers {
    int game = -1;  // the first game marker, in table order, that counts; -1 when none does
    int stake = 0;  // the first stake level whose marker counts; STAKE_OTHER when none does
};

// The first occurrences of the markers in a text that only grows, kept between looks so that a
// look searches only the bytes added since the previous one (and the few before them in which a
// marker may have begun). For the no-limit levels the later clients' spaced-blinds marker counts
// as well as the level's own, as in the parser, so that the overlays read the bucket the hands
// were counted in.
class CTableMarkerScan {
public:
    // Looks at `text`, whose first bytes are the whole text of the previous look since the last
    // Reset. A shorter text is looked at from its start.
    void Update(std::string_view text) noexcept;
    void Reset() noexcept;
    [[nodiscard]] sTableMarkers Result() const noexcept;

    // The game markers and the stake markers of levels 0 to 2 ("<word> Type: <VALUE>"); then the
    // no-limit levels' blinds markers, each level's own and then the spaced ones.
    static constexpr size_t kTypeMarkerCount = GAME_MAX + STAKE_FIRST_NL;
    static constexpr size_t kBlindMarkerCount = 2 * (STAKE_LAST_NL - STAKE_FIRST_NL + 1);

private:
    [[nodiscard]] bool TypeStakeCounts() const noexcept;

    size_t m_scanned = 0;  // length of the text looked at so far
    std::array<size_t, kTypeMarkerCount> m_typeFirst = Unfound<kTypeMarkerCount>();
    // Searched only while no type-stake marker counts: once one does, the blinds cannot matter.
    std::array<size_t, kBlindMarkerCount> m_blindFirst = Unfound<kBlindMarkerCount>();

    template <size_t N>
    static constexpr std::array<size_t, N> Unfound() {
        std::array<size_t, N> positions{};
        positions.fill(std::string_view::npos);
        return positions;
    }
};

// Both at once for a whole text, in at most two passes however many markers are missing.
[[nodiscard]] sTableMarkers ClassifyTableText(std::string_view text) noexcept;

[[nodiscard]] inline int GameOfText(std::string_view text) noexcept {
    return ClassifyTableText(text).game;
}
[[nodiscard]] inline int StakeLevelOfText(std::string_view text) noexcept {
    return ClassifyTableText(text).stake;
}
