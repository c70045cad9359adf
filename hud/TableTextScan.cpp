#include "hud/TableTextScan.h"

#include <algorithm>

#include "history/ByteSearch.h"
#include "history/TextSearch.h"

namespace {

constexpr std::string_view kHandStart = "Shuffling Deck";
// A seat marker is decided by at most these bytes from its "Seat ": "Seat 10:".
constexpr size_t kSeatMarkerBytes = 8;

// Position of the last occurrence of `needle` starting at or after `from`, or kNotFound. The
// current hand is near the end of the text, so searching backwards stops after a few kilobytes.
size_t FindLastFrom(std::string_view text, std::string_view needle, size_t from) noexcept {
    if (needle.empty() || text.size() < needle.size()) {
        return kNotFound;
    }
    const char first = needle[0];
    const char* base = text.data();
    for (size_t pos = text.size() - needle.size() + 1; pos-- > from;) {
        if (base[pos] == first &&
            bytesearch::BytesEqual(base + pos, needle.data(), needle.size())) {
            return pos;
        }
    }
    return kNotFound;
}

// The first position whose `bytes` bytes reach past the first `scanned` bytes of a text.
size_t FirstReachingPast(size_t scanned, size_t bytes) noexcept {
    return scanned >= bytes ? scanned - bytes + 1 : 0;
}

}  // namespace

void CTableTextScan::ClearSeats() noexcept {
    m_seatPos.fill(kNotFound);
    m_seatLen.fill(0);
}

void CTableTextScan::Reset() noexcept {
    m_scanned = 0;
    m_markers.Reset();
    m_handStart = 0;
    ClearSeats();
}

void CTableTextScan::Update(std::string_view text) noexcept {
    if (m_scanned == 0 || text.size() < m_scanned) {
        Reset();
    }
    m_markers.Update(text);

    // A later hand start can only be one that ends in the new bytes; the seats are then looked
    // for again from it. Otherwise the seats not found yet may begin a few bytes before the new
    // ones.
    size_t seatsFrom = FirstReachingPast(m_scanned, kSeatMarkerBytes);
    const size_t handStart =
        FindLastFrom(text, kHandStart, FirstReachingPast(m_scanned, kHandStart.size()));
    if (handStart != kNotFound) {
        m_handStart = handStart;
        ClearSeats();
        seatsFrom = handStart;
    }
    FindSeatMarkers(text, std::max(seatsFrom, m_handStart), text.size(), m_seatPos, m_seatLen);
    m_scanned = text.size();
}
