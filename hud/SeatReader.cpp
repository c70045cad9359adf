#include "hud/SeatReader.h"

#include "history/HistoryParser.h"
#include "history/StatsStore.h"
#include "history/TextFile.h"
#include "history/TextSearch.h"
#include "hud/TableHud.h"
#include "hud/TableTextScan.h"

namespace {

int LayoutSizeForHighestSeat(int seatNumber) noexcept {
    return seatNumber <= 2 ? LAYOUT_HEADSUP : (seatNumber <= 6 ? LAYOUT_SIXMAX : LAYOUT_FULLRING);
}

void EmptySeats(sSeatState& seats) {
    for (std::string& name : seats.m_strSeatName) {
        name.clear();
    }
    seats.m_nPlayer = UnseatedPlayers();
}

// Fills the seats from what a look at `text` found.
bool ApplyScan(std::string_view text, const CTableTextScan& scan, const CStatsStore& store,
               sSeatState& seats) {
    EmptySeats(seats);
    const sTableMarkers markers = scan.Markers();
    if (markers.game >= 0) {
        seats.m_nGame = markers.game;
    }
    seats.m_nStake = markers.stake;

    const SeatMarkerArray& positions = scan.SeatPositions();
    int found = 0;
    int highest = 0;
    for (int i = 0; i < kSeatCount; ++i) {
        if (positions[i] != kNotFound) {
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
        if (positions[i] == kNotFound) {
            continue;
        }
        // The parser's name rule: up to the first " -" after the marker (searched to the end of
        // the text) or an earlier " ("; empty without any " -". Looked at on every tick, since
        // the bytes after a half-written seat line decide where its name ends.
        const std::string_view name = SeatName(text, positions[i], scan.SeatLengths()[i]);
        seats.m_strSeatName[i].assign(name);
        // An empty name is a seat without anyone, even when a malformed file gave the store a
        // player of that name.
        seats.m_nPlayer[i] = name.empty() ? -1 : store.FindPlayer(name);
    }
    return true;
}

}  // namespace

bool ReadSeatsFromText(std::string_view text, const CStatsStore& store, sSeatState& seats) {
    CTableTextScan scan;
    scan.Update(text);
    return ApplyScan(text, scan, store, seats);
}

CSeatReader::CSeatReader(TextFileReader reader) : m_reader(reader) {}

bool CSeatReader::ReadSeats(const std::string& path, const CStatsStore& store, sSeatState& seats) {
    if (m_reader != nullptr) {
        // A reader of whole files: every text is looked at from its start.
        m_scan.Reset();
        if (!m_reader(path, m_strText)) {
            EmptySeats(seats);
            return false;
        }
        m_scan.Update(m_strText);
        return ApplyScan(m_strText, m_scan, store, seats);
    }
    switch (m_file.Read(path)) {
        case CAppendedTextFile::eRead::Failed:
            m_scan.Reset();
            EmptySeats(seats);
            return false;
        case CAppendedTextFile::eRead::Whole:
            m_scan.Reset();
            break;
        case CAppendedTextFile::eRead::Appended:
            break;
    }
    m_scan.Update(m_file.Text());
    return ApplyScan(m_file.Text(), m_scan, store, seats);
}
bool CSeatReader::ReadSeats(_sTableOpenInfo& table, const CStatsStore& store, sSeatState& seats) {
    if (!ReadSeats(table.m_strPath, store, seats)) {
        return false;
    }
    table.m_bChanged = false;
    return true;
}
