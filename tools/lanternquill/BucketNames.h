// How the command line names the classification axes of the counters: game types, stake
// levels and table-size classes.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "history/GameTypes.h"

inline constexpr std::array<int, 2> kAllGames = {GAME_HOLDEM, GAME_OMAHA};
inline constexpr std::array<int, 3> kAllSizeClasses = {SIZE_HEADSUP, SIZE_3TO6, SIZE_7TO10};

// "holdem", "omaha".
[[nodiscard]] std::string_view GameName(int game) noexcept;
// "hu", "3-6", "7-10".
[[nodiscard]] std::string_view SizeClassName(int sizeClass) noexcept;
// The store's label ("Play Money" ... "Other"); "?" outside 0..10.
[[nodiscard]] std::string_view StakeLabel(int stake) noexcept;

// The inverses, matching without regard to letter case; nothing for an unknown name.
[[nodiscard]] std::optional<int> ParseGameName(std::string_view text) noexcept;
[[nodiscard]] std::optional<int> ParseSizeClassName(std::string_view text) noexcept;
[[nodiscard]] std::optional<int> ParseStakeLabel(std::string_view text) noexcept;
