#include "hud/SeatReader.h"

#include <cstring>

#include "app/TableHud.h"
#include "history/HistoryParser.h"
#include "history/StatsStore.h"
#include "history/TextFile.h"
#include "history/TextSearch.h"

namespace {

constexpr std::string_view kHandStart = "Shuffling Deck";

// Position of the last occurrence of `needle`, or kNotFound. The current hand is near the end of
// the file, so searching backwards stops after a few kilobytes.
size_t FindLast(std::string_view text, std::string_view needle) noexcept {
    if (needle.empty() || text.size() < needle.size()) {
        return kNotFound;
    }
    const char first = needle[0];
    const char* base = text.data();
    for (size_t pos = text.size() - needle.size() + 1; pos-- > 0;) {
        if (base[pos] == first && std::memcmp(base + pos, needle.data(), needle.size()) == 0) {
            return pos;
        }
    }
    return kNotFound;
}

struct sSeatMarkers {
    SeatMarkerArray pos;
    SeatMarkerArray length;  // 7 for "Seat 1:".."Seat 9:", 8 for "Seat 10:"
};

// The first "Seat n:" (n = 1..10) at or after `from`, for every n.
sSeatMarkers FindSeatMarkersFrom(std::string_view text, size_t from) noexcept {
    sSeatMarkers seats{};
    seats.pos.fill(kNotFound);
    seats.length.fill(0);
    FindSeatMarkers(text, from, text.size(), seats.pos, seats.length);
    return seats;
}

int LayoutSizeForHighestSeat(int seatNumber) noexcept {
    return seatNumber <= 2 ? LAYOUT_HEADSUP : (seatNumber <= 6 ? LAYOUT_SIXMAX : LAYOUT_FULLRING);
}

void EmptySeats(sSeatState& seats) {
    for (std::string& name : seats.m_strSeatName) {
        name.clear();
    }
    seats.m_nPlayer = UnseatedPlayers();
}

}  // namespace

bool ReadSeatsFromText(std::string_view text, const CStatsStore& store, sSeatState& seats) {
    EmptySeats(seats);
    const sTableMarkers markers = ClassifyTableText(text);
    if (markers.game >= 0) {
        seats.m_nGame = markers.game;
    }
    seats.m_nStake = markers.stake;

    const size_t handStart = FindLast(text, kHandStart);
    const sSeatMarkers seatsFound =
        FindSeatMarkersFrom(text, handStart == kNotFound ? 0 : handStart);
    int found = 0;
    int highest = 0;
    for (int i = 0; i < kSeatCount; ++i) {
        if (seatsFound.pos[i] != kNotFound) {
            ++found;
            highest = i + 1;
        }
    }
    seats.m_nSizeClass = SizeClassFromSeatCount(found);
    if (found == 0 || highest == 1) {
        return false;
    }
    if (seats.m_nLayoutSize == LAYOUT_UNKNOWN) {
        seats.m_nLayoutSize = LayoutSizeForHighestSeat(highest);
    }

    for (int i = 0; i < kSeatCount; ++i) {
        if (seatsFound.pos[i] == kNotFound) {
            continue;
        }
        // The parser's name rule: up to the first " -" after the marker (searched to the end of
        // the text) or an earlier " ("; empty without any " -".
        const std::string_view name = SeatName(text, seatsFound.pos[i], seatsFound.length[i]);
        seats.m_strSeatName[i].assign(name);
        seats.m_nPlayer[i] = store.FindPlayer(name);
    }
    return true;
}

CSeatReader::CSeatReader() : m_reader(ReadTextFile) {}

bool CSeatReader::ReadSeats(const std::string& path, const CStatsStore& store, sSeatState& seats) {
    if (!m_reader(path, m_strText)) {
        EmptySeats(seats);
        return false;
    }
    return ReadSeatsFromText(m_strText, store, seats);
}

bool CSeatReader::ReadSeats(_sTableOpenInfo& table, const CStatsStore& store, sSeatState& seats) {
    if (!ReadSeats(table.m_strPath, store, seats)) {
        return false;
    }
    table.m_bChanged = false;
    return true;
}
