// How the command line names the classification axes of the counters: game types, stake
// levels and table-size classes.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "history/GameTypes.h"

inline constexpr std::array<eGameType, 2> kAllGames = {GAME_HOLDEM, GAME_OMAHA};
inline constexpr std::array<eSizeClass, 3> kAllSizeClasses = {SIZE_HEADSUP, SIZE_3TO6, SIZE_7TO10};

// "holdem", "omaha"; "?" outside them.
[[nodiscard]] std::string_view GameName(eGameType game) noexcept;
// "hu", "3-6", "7-10"; "?" outside them.
[[nodiscard]] std::string_view SizeClassName(eSizeClass sizeClass) noexcept;
// The store's label ("Play Money" ... "Other"); "?" outside 0..10.
[[nodiscard]] std::string_view StakeLabel(eStakeLevel stake) noexcept;

// The inverses, matching without regard to letter case; nothing for an unknown name.
[[nodiscard]] std::optional<eGameType> ParseGameName(std::string_view text) noexcept;
[[nodiscard]] std::optional<eSizeClass> ParseSizeClassName(std::string_view text) noexcept;
[[nodiscard]] std::optional<eStakeLevel> ParseStakeLabel(std::string_view text) noexcept;
