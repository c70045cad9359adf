#include "hud/TableMarkers.h"

#include <array>
#include <cstring>

#include "history/GameTypes.h"
#include "history/TextSearch.h"

namespace {

// A marker and the offset in it of the byte its group is searched by.
struct sAnchoredMarker {
    std::string_view text;
    size_t anchor;
};

// The markers written in "<word> Type: <VALUE>" lines, searched by the 'T' of "Type" (a handful
// per hand): the two game markers, then the stake markers of levels 0 to 2.
constexpr std::string_view kTypeWord = "Type";
constexpr int kTypeGameFirst = 0;
constexpr int kTypeStakeFirst = GAME_MAX;
constexpr int kTypeStakeLevels = STAKE_FIRST_NL;  // play money, tournament, limit
constexpr std::array<sAnchoredMarker, GAME_MAX + kTypeStakeLevels> MakeTypeMarkers() {
    std::array<sAnchoredMarker, GAME_MAX + kTypeStakeLevels> markers{};
    for (int game = 0; game < GAME_MAX; ++game) {
        markers[kTypeGameFirst + game] = {kGameMarkers[game], kGameMarkers[game].find(kTypeWord)};
    }
    for (int level = 0; level < kTypeStakeLevels; ++level) {
        markers[kTypeStakeFirst + level] = {kStakeMarkers[level],
                                            kStakeMarkers[level].find(kTypeWord)};
    }
    return markers;
}
constexpr auto kTypeMarkers = MakeTypeMarkers();

// The blinds markers of the no-limit levels, searched by their slash (one per hand): each
// level's own, then the spaced ones in the same level order.
constexpr int kNoLimitLevels = STAKE_LAST_NL - STAKE_FIRST_NL + 1;
constexpr std::array<sAnchoredMarker, 2 * kNoLimitLevels> MakeBlindMarkers() {
    std::array<sAnchoredMarker, 2 * kNoLimitLevels> markers{};
    for (int i = 0; i < kNoLimitLevels; ++i) {
        const std::string_view own = kStakeMarkers[STAKE_FIRST_NL + i];
        markers[i] = {own, own.find('/')};
        markers[kNoLimitLevels + i] = {kSpacedBlindMarkers[i], kSpacedBlindMarkers[i].find('/')};
    }
    return markers;
}
constexpr auto kBlindMarkers = MakeBlindMarkers();

template <size_t N>
constexpr bool AllAnchored(const std::array<sAnchoredMarker, N>& markers) {
    for (const sAnchoredMarker& marker : markers) {
        if (marker.anchor == std::string_view::npos) {
            return false;
        }
    }
    return true;
}
static_assert(AllAnchored(kTypeMarkers), "every game and early stake marker holds \"Type\"");
static_assert(AllAnchored(kBlindMarkers), "every blinds marker holds a slash");

// The first occurrence of every marker of a group, in one pass over the occurrences of the
// group's anchor byte: every occurrence of a marker has that byte at its anchor offset, and the
// bytes are visited front to back, so the first match of a marker is its first occurrence.
template <size_t N>
std::array<size_t, N> FirstOccurrences(std::string_view text, char anchorByte,
                                       const std::array<sAnchoredMarker, N>& markers) noexcept {
    std::array<size_t, N> first{};
    first.fill(kNotFound);
    size_t missing = N;
    const char* base = text.data();
    const size_t size = text.size();
    for (size_t pos = 0; missing > 0 && pos < size; ++pos) {
        const void* hit = std::memchr(base + pos, anchorByte, size - pos);
        if (hit == nullptr) {
            break;
        }
        pos = static_cast<size_t>(static_cast<const char*>(hit) - base);
        for (size_t i = 0; i < N; ++i) {
            const sAnchoredMarker& marker = markers[i];
            if (first[i] != kNotFound || pos < marker.anchor) {
                continue;
            }
            const size_t start = pos - marker.anchor;
            const size_t length = marker.text.size();
            // Most anchor bytes belong to other words: the first and last bytes rule them out
            // before a full comparison.
            if (length <= size - start && base[start] == marker.text[0] &&
                base[start + length - 1] == marker.text[length - 1] &&
                std::memcmp(base + start, marker.text.data(), length) == 0) {
                first[i] = start;
                --missing;
            }
        }
    }
    return first;
}

constexpr bool Counts(size_t firstPosition) {
    return firstPosition != kNotFound && firstPosition > 0;
}

}  // namespace

sTableMarkers ClassifyTableText(std::string_view text) noexcept {
    static_assert(kTypeMarkers[0].text[kTypeMarkers[0].anchor] == 'T');
    const auto typeFirst = FirstOccurrences(text, 'T', kTypeMarkers);

    sTableMarkers result;
    for (int game = 0; game < GAME_MAX && result.game < 0; ++game) {
        if (Counts(typeFirst[kTypeGameFirst + game])) {
            result.game = game;
        }
    }
    for (int level = 0; level < kTypeStakeLevels; ++level) {
        if (Counts(typeFirst[kTypeStakeFirst + level])) {
            result.stake = level;
            return result;
        }
    }
    // Only now are the blinds looked at: a play money, tournament or limit table needs no
    // second pass.
    const auto blindFirst = FirstOccurrences(text, '/', kBlindMarkers);
    for (int i = 0; i < kNoLimitLevels; ++i) {
        if (Counts(blindFirst[i]) || Counts(blindFirst[kNoLimitLevels + i])) {
            result.stake = STAKE_FIRST_NL + i;
            return result;
        }
    }
    result.stake = STAKE_OTHER;
    return result;
}
