// What the seat reader looks for in a table's hand history text, kept from one refresh tick to
// the next. The client only appends to a table's file, so what was found in the text read before
// stays found: the first game and stake markers, the last "Shuffling Deck" and the seat markers
// after it. A tick then searches only the bytes appended since the previous one, and its cost no
// longer grows with the length of the session.
#pragma once

#include <cstddef>
#include <string_view>

#include "history/HistoryParser.h"
#include "hud/TableMarkers.h"

class CTableTextScan {
public:
    // Looks at `text`, whose first bytes are the whole text of the previous look since the last
    // Reset (a shorter text is looked at from its start). Afterwards the findings are those of a
    // fresh look at the whole of `text`.
    void Update(std::string_view text) noexcept;
    void Reset() noexcept;

    [[nodiscard]] sTableMarkers Markers() const noexcept { return m_markers.Result(); }
    // The first "Seat n:" of each seat n = 1..10 after the current hand's start (the last
    // "Shuffling Deck", or the start of the text without one); kNotFound where there is none.
    [[nodiscard]] const SeatMarkerArray& SeatPositions() const noexcept { return m_seatPos; }
    // 7 for "Seat 1:".."Seat 9:", 8 for "Seat 10:"; 0 where no marker was found.
    [[nodiscard]] const SeatMarkerArray& SeatLengths() const noexcept { return m_seatLen; }

private:
    void ClearSeats() noexcept;

    size_t m_scanned = 0;  // length of the text looked at so far
    CTableMarkerScan m_markers;
    size_t m_handStart = 0;  // the last "Shuffling Deck", or 0 while there is none
    SeatMarkerArray m_seatPos{};
    SeatMarkerArray m_seatLen{};
};
