#include "tools/lanternquill/BucketNames.h"

#include <cstddef>

namespace {

constexpr std::array<std::string_view, 2> kGameNames = {"holdem", "omaha"};
constexpr std::array<std::string_view, 3> kSizeClassNames = {"hu", "3-6", "7-10"};

char LowerAscii(char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// The value of the axis `Axis` whose name (in axis order) matches `text`.
template <typename Axis, size_t N>
std::optional<Axis> IndexOf(const std::array<std::string_view, N>& names,
                            std::string_view text) noexcept {
    for (size_t i = 0; i < N; ++i) {
        if (EqualsIgnoringCase(names[i], text)) {
            return static_cast<Axis>(i);
        }
    }
    return std::nullopt;
}

}  // namespace

std::string_view GameName(eGameType game) noexcept {
    return game >= 0 && game < static_cast<int>(kGameNames.size()) ? kGameNames[game] : "?";
}

std::string_view SizeClassName(eSizeClass sizeClass) noexcept {
    return sizeClass >= 0 && sizeClass < static_cast<int>(kSizeClassNames.size())
               ? kSizeClassNames[sizeClass]
               : "?";
}

std::string_view StakeLabel(eStakeLevel stake) noexcept {
    return stake >= 0 && stake < static_cast<int>(kStakeLabels.size()) ? kStakeLabels[stake] : "?";
}

std::optional<eGameType> ParseGameName(std::string_view text) noexcept {
    return IndexOf<eGameType>(kGameNames, text);
}

std::optional<eSizeClass> ParseSizeClassName(std::string_view text) noexcept {
    return IndexOf<eSizeClass>(kSizeClassNames, text);
}

std::optional<eStakeLevel> ParseStakeLabel(std::string_view text) noexcept {
    return IndexOf<eStakeLevel>(kStakeLabels, text);
}
