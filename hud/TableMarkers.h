// The game and stake level of a table, from the markers anywhere in its hand history file, as
// the seat reader needs them on every refresh tick. The parser classifies a file by its first
// 2500 bytes only; here the whole text counts.
#pragma once

#include <string_view>

// A marker counts when its first occurrence in the text lies at a position of 1 or more (the
// very first bytes of a file are not taken as a marker).
struct sTableMarkers {
    int game = -1;  // the first game marker, in table order, that counts; -1 when none does
    int stake = 0;  // the first stake level whose marker counts; STAKE_OTHER when none does
};

// Both at once, in two passes over the text however many markers are missing. For the no-limit
// levels the later clients' spaced-blinds marker counts as well as the level's own, as in the
// parser, so that the overlays read the bucket the hands were counted in.
[[nodiscard]] sTableMarkers ClassifyTableText(std::string_view text) noexcept;

[[nodiscard]] inline int GameOfText(std::string_view text) noexcept {
    return ClassifyTableText(text).game;
}
[[nodiscard]] inline int StakeLevelOfText(std::string_view text) noexcept {
    return ClassifyTableText(text).stake;
}
