// The seat reader of a table HUD: who sits where in the table's most recent hand, and the
// table's game, stake level and size, read from its hand history file on every refresh tick.
// Each HUD owns one CSeatReader and one sSeatState for its table and hands both to every read.
// The reader keeps what it read between ticks only to read less: its results are always those of
// reading the whole file afresh, whatever path it was given before. A failed read empties the
// seats and returns false; the refresh cycle then leaves the overlays as they were. Not shared
// between threads.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "history/GameTypes.h"
#include "history/TextFile.h"
#include "hud/Layouts.h"
#include "hud/TableMarkers.h"
#include "hud/TableTextScan.h"

class CStatsStore;
struct _sTableOpenInfo;  // NOLINT(bugprone-reserved-identifier): the tracked table record

// m_nGame while no game marker has been found in the table's file.
inline constexpr int32_t GAME_UNKNOWN = GAME_MAX;

// All ten seats without a player.
constexpr std::array<int32_t, kSeatCount> UnseatedPlayers() {
    std::array<int32_t, kSeatCount> players{};
    players.fill(-1);
    return players;
}

// What a table HUD knows about its table's current hand (the fields the seat reader fills), and
// the main text composed for each seat. Initial values are those of a new HUD.
struct sSeatState {
    int32_t m_nLayoutSize = LAYOUT_UNKNOWN;  // set once, from the first successful reading
    int32_t m_nSizeClass = SIZECLASS_MAX;    // 0 heads-up, 1 three to six, 2 seven to ten; 3 unread
    int32_t m_nGame = GAME_UNKNOWN;          // GAME_HOLDEM, GAME_OMAHA or GAME_UNKNOWN
    int32_t m_nStake = STAKE_OTHER;          // stake level 0..10
    std::array<std::string, kSeatCount> m_strMain;  // variant 0 of each seat (SeatText.h)
    std::array<int32_t, kSeatCount> m_nPlayer = UnseatedPlayers();  // store index, or -1
    std::array<std::string, kSeatCount> m_strSeatName;  // seat number i+1; empty: no one there

    // The table's bucket. The fields stay plain numbers (the game reads GAME_UNKNOWN and the size
    // class SIZECLASS_MAX until they are read), so the key can lie outside its axes.
    [[nodiscard]] sBucketKey Bucket() const noexcept {
        return {static_cast<eGameType>(m_nGame), static_cast<eStakeLevel>(m_nStake),
                static_cast<eSizeClass>(m_nSizeClass)};
    }
};

// Reads the seats from the text of a table's hand history file. Empties every seat first, then
// sets m_nGame (only when a game marker is found), m_nStake, m_nSizeClass, m_nLayoutSize (only
// while LAYOUT_UNKNOWN), the seat names and their player indexes in `store`. True when the
// current hand (after the last "Shuffling Deck") lists a seat numbered 2 or higher.
bool ReadSeatsFromText(std::string_view text, const CStatsStore& store, sSeatState& seats);

// Reads a whole file as text; false when it cannot be opened or read.
using TextFileReader = bool (*)(const std::string& path, std::string& text);

// The seat reader with what it read and found in the table's file, kept from one tick to the
// next: a tick reads and searches only what the client appended since the previous one, and the
// file is held open only for that. Its results are those of reading the whole file every time.
class CSeatReader {
public:
    CSeatReader() = default;
    // Reads with `reader` instead, the whole file on every tick.
    explicit CSeatReader(TextFileReader reader);

    // Reads the file at `path` and its seats. An unreadable file empties the seats and gives
    // false, leaving game, stake and sizes as they were.
    bool ReadSeats(const std::string& path, const CStatsStore& store, sSeatState& seats);
    // The same for a tracked table (its m_strPath); clears its m_bChanged on success.
    bool ReadSeats(_sTableOpenInfo& table, const CStatsStore& store, sSeatState& seats);

private:
    TextFileReader m_reader = nullptr;
    std::string m_strText;  // the text of `m_reader`
    CAppendedTextFile m_file;
    CTableTextScan m_scan;
};
