// Fuzz target: arbitrary bytes as a live table's hand history file, read by the seat reader.
//
// A whole read must give a sound seat state: seat names that stand in the text after their own
// "Seat n: " marker, player indexes that name those players, a known layout size, size class,
// game and stake. It must agree with a plain search of the text (the first game and stake
// markers that count, the first seat markers after the last "Shuffling Deck") and give the same
// state when read again. The same bytes then reach the file in two to four appends, split where
// the input's first bytes say, with a read after each: the last read must equal the whole read.
// Finally the file is cut back to its first part, which the reader must notice and read afresh.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "history/GameTypes.h"
#include "history/HistoryParser.h"
#include "history/StatsStore.h"
#include "hud/SeatReader.h"

namespace {

constexpr std::string_view kHandStart = "Shuffling Deck";

// One file per fuzzing process, so parallel jobs do not write into each other's table.
const std::string& TablePath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() /
         ("lanternquill-fuzz-table-" + std::to_string(::getpid()) + ".txt"))
            .string();
    return path;
}

void WriteFile(std::string_view bytes, const char* mode) {
    std::FILE* file = std::fopen(TablePath().c_str(), mode);
    FuzzRequire(file != nullptr, "the fuzzer's table file can be written");
    FuzzRequire(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(),
                "the fuzzer's table file takes every byte");
    std::fclose(file);
}

// Where the bytes are cut into appends: one to three cuts at fractions of the length given by
// the input's first bytes, so that the fuzzer steers them while the seeds stay whole table files.
std::vector<size_t> SplitPoints(std::string_view bytes) {
    std::vector<size_t> cuts;
    if (bytes.size() < 4) {
        return {bytes.size() / 2};
    }
    const size_t count = 1 + static_cast<uint8_t>(bytes[0]) % 3;
    for (size_t i = 1; i <= count; ++i) {
        cuts.push_back(bytes.size() * static_cast<uint8_t>(bytes[i]) / 256);
    }
    std::sort(cuts.begin(), cuts.end());
    return cuts;
}

bool Counts(std::string_view text, std::string_view marker) {
    const size_t first = text.find(marker);
    return first != std::string_view::npos && first > 0;
}

// The markers by plain search: the first game in table order, and the first stake level, whose
// first occurrence lies past the text's first byte.
void CheckMarkers(std::string_view text, const sSeatState& seats) {
    int game = GAME_UNKNOWN;
    for (int g = GAME_MAX - 1; g >= 0; --g) {
        game = Counts(text, kGameMarkers[g]) ? g : game;
    }
    int stake = STAKE_OTHER;
    for (int level = STAKE_OTHER - 1; level >= 0; --level) {
        const bool spaced =
            IsNoLimitStake(level) && Counts(text, kSpacedBlindMarkers[level - STAKE_FIRST_NL]);
        stake = Counts(text, kStakeMarkers[level]) || spaced ? level : stake;
    }
    FuzzRequire(seats.m_nGame == game, "the game is that of the first game marker that counts");
    FuzzRequire(seats.m_nStake == stake,
                "the stake is that of the first level whose marker counts");
}

// The seats by plain search, and the state's soundness; returns what the reader should.
bool CheckSeats(std::string_view text, const CStatsStore& store, const sSeatState& seats) {
    const size_t lastStart = text.rfind(kHandStart);
    const size_t handStart = lastStart == std::string_view::npos ? 0 : lastStart;
    int found = 0;
    int highest = 0;
    for (int i = 0; i < kSeatCount; ++i) {
        const std::string marker = "Seat " + std::to_string(i + 1) + ":";
        const size_t pos = text.find(marker, handStart);
        const std::string& name = seats.m_strSeatName[i];
        if (pos == std::string_view::npos) {
            FuzzRequire(name.empty() && seats.m_nPlayer[i] == -1, "a seat without marker is empty");
            continue;
        }
        ++found;
        highest = i + 1;
        if (name.empty()) {
            FuzzRequire(seats.m_nPlayer[i] == -1, "an empty seat has no player");
            continue;
        }
        // The name starts one byte (the blank, in a well-formed line) after the marker.
        FuzzRequire(text.substr(pos + marker.size() + 1).starts_with(name),
                    "a seat name stands in the text after its own marker");
        FuzzRequire(name.find(" -") == std::string::npos, "a seat name ends at the first \" -\"");
        FuzzRequire(seats.m_nPlayer[i] == store.FindPlayer(name),
                    "a seat's player is the store's player of that name");
    }
    FuzzRequire(seats.m_nSizeClass == SizeClassFromSeatCount(found),
                "the size class follows the seats found");
    const bool hasSeats = found > 0 && highest > 1;
    if (hasSeats) {
        const int layout =
            highest <= 2 ? LAYOUT_HEADSUP : (highest <= 6 ? LAYOUT_SIXMAX : LAYOUT_FULLRING);
        FuzzRequire(seats.m_nLayoutSize == layout, "the layout size follows the highest seat");
    } else {
        FuzzRequire(seats.m_nLayoutSize == LAYOUT_UNKNOWN, "no layout size without seats");
    }
    return hasSeats;
}

bool SameState(const sSeatState& a, const sSeatState& b) {
    return a.m_nLayoutSize == b.m_nLayoutSize && a.m_nSizeClass == b.m_nSizeClass &&
           a.m_nGame == b.m_nGame && a.m_nStake == b.m_nStake && a.m_nPlayer == b.m_nPlayer &&
           a.m_strSeatName == b.m_strSeatName;
}

// Reads the file as it stands into a fresh state, so that the layout size set by an earlier read
// does not mask a difference.
sSeatState ReadFile(CSeatReader& reader, const CStatsStore& store, bool& result) {
    sSeatState seats;
    result = reader.ReadSeats(TablePath(), store, seats);
    return seats;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The text as the file reader hands it over: everything before the first NUL byte.
    const std::string_view text = bytes.substr(0, bytes.find('\0'));

    // Names the parser finds get store indexes, so the player lookup is exercised too.
    CStatsStore store;
    ParseHistoryText(store, text);

    sSeatState whole;
    const bool wholeResult = ReadSeatsFromText(text, store, whole);
    CheckMarkers(text, whole);
    FuzzRequire(wholeResult == CheckSeats(text, store, whole),
                "the reader finds seats when the current hand lists a seat above the first");
    sSeatState again;
    FuzzRequire(ReadSeatsFromText(text, store, again) == wholeResult && SameState(again, whole),
                "a second read of the same bytes gives the same seats");

    CSeatReader reader;
    bool result = false;
    size_t written = 0;
    const std::vector<size_t> cuts = SplitPoints(bytes);
    for (const size_t cut : cuts) {
        WriteFile(bytes.substr(written, cut - written), written == 0 ? "wb" : "ab");
        written = cut;
        (void)ReadFile(reader, store, result);
    }
    WriteFile(bytes.substr(written), written == 0 ? "wb" : "ab");
    const sSeatState appended = ReadFile(reader, store, result);
    FuzzRequire(result == wholeResult && SameState(appended, whole),
                "the bytes read in appends give the seats of a whole read");

    // The client never shortens a table's file; a shortened one is another file, read whole.
    const std::string_view first = bytes.substr(0, cuts.front());
    WriteFile(first, "wb");
    sSeatState firstWhole;
    const bool firstResult =
        ReadSeatsFromText(first.substr(0, first.find('\0')), store, firstWhole);
    const sSeatState shortened = ReadFile(reader, store, result);
    FuzzRequire(result == firstResult && SameState(shortened, firstWhole),
                "a shortened file is read afresh");
    return 0;
}
