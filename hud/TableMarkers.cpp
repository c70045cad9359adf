#include "hud/TableMarkers.h"

#include <array>

#include "history/ByteSearch.h"
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

// No marker is longer than this: a look at a grown text starts this many bytes before the old
// end, where a marker completed by the new bytes may have begun.
constexpr size_t kLongestMarker = 64;

template <size_t N>
constexpr bool AllShortEnough(const std::array<sAnchoredMarker, N>& markers) {
    for (const sAnchoredMarker& marker : markers) {
        if (marker.text.size() > kLongestMarker) {
            return false;
        }
    }
    return true;
}
static_assert(AllShortEnough(kTypeMarkers) && AllShortEnough(kBlindMarkers));
static_assert(kTypeMarkers.size() == CTableMarkerScan::kTypeMarkerCount);
static_assert(kBlindMarkers.size() == CTableMarkerScan::kBlindMarkerCount);

// The first occurrence of every marker of a group not found yet, in one pass over the
// occurrences of the group's anchor byte at or after `from`: every occurrence of a marker has
// that byte at its anchor offset, and the bytes are visited front to back, so the first match of
// a marker is its first occurrence (an occurrence wholly before `from` was found by an earlier
// pass).
template <size_t N>
void FindFirstOccurrences(std::string_view text, size_t from, char anchorByte,
                          const std::array<sAnchoredMarker, N>& markers,
                          std::array<size_t, N>& first) noexcept {
    size_t missing = 0;
    for (size_t position : first) {
        missing += position == kNotFound ? 1 : 0;
    }
    const char* base = text.data();
    const size_t size = text.size();
    for (size_t pos = from; missing > 0 && pos < size; ++pos) {
        const char* hit = bytesearch::FindByte(base + pos, base + size, anchorByte);
        if (hit == nullptr) {
            break;
        }
        pos = static_cast<size_t>(hit - base);
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
                bytesearch::BytesEqual(base + start, marker.text.data(), length)) {
                first[i] = start;
                --missing;
            }
        }
    }
}

constexpr bool Counts(size_t firstPosition) {
    return firstPosition != kNotFound && firstPosition > 0;
}

}  // namespace

void CTableMarkerScan::Reset() noexcept {
    *this = CTableMarkerScan();
}

bool CTableMarkerScan::TypeStakeCounts() const noexcept {
    for (int level = 0; level < kTypeStakeLevels; ++level) {
        if (Counts(m_typeFirst[kTypeStakeFirst + level])) {
            return true;
        }
    }
    return false;
}

void CTableMarkerScan::Update(std::string_view text) noexcept {
    if (text.size() < m_scanned) {
        Reset();
    }
    const size_t from = m_scanned > kLongestMarker ? m_scanned - kLongestMarker : 0;
    static_assert(kTypeMarkers[0].text[kTypeMarkers[0].anchor] == 'T');
    FindFirstOccurrences(text, from, 'T', kTypeMarkers, m_typeFirst);
    // A play money, tournament or limit table needs no look at the blinds.
    if (!TypeStakeCounts()) {
        FindFirstOccurrences(text, from, '/', kBlindMarkers, m_blindFirst);
    }
    m_scanned = text.size();
}

sTableMarkers CTableMarkerScan::Result() const noexcept {
    sTableMarkers result;
    for (int game = 0; game < GAME_MAX && result.game < 0; ++game) {
        if (Counts(m_typeFirst[kTypeGameFirst + game])) {
            result.game = game;
        }
    }
    for (int level = 0; level < kTypeStakeLevels; ++level) {
        if (Counts(m_typeFirst[kTypeStakeFirst + level])) {
            result.stake = level;
            return result;
        }
    }
    for (int i = 0; i < kNoLimitLevels; ++i) {
        if (Counts(m_blindFirst[i]) || Counts(m_blindFirst[kNoLimitLevels + i])) {
            result.stake = STAKE_FIRST_NL + i;
            return result;
        }
    }
    result.stake = STAKE_OTHER;
    return result;
}

sTableMarkers ClassifyTableText(std::string_view text) noexcept {
    CTableMarkerScan scan;
    scan.Update(text);
    return scan.Result();
}
