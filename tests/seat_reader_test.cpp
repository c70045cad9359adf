#include "hud/SeatReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "history/HistoryParser.h"
#include "history/StatsStore.h"
#include "history/TextFile.h"
#include "hud/TableHud.h"

namespace {

using Seats = std::vector<std::pair<int, std::string>>;

std::string SeatLines(const Seats& seats) {
    std::string text;
    for (const auto& [seat, name] : seats) {
        text += "Seat " + std::to_string(seat) + ": " + name + " - $10\r\n";
    }
    return text;
}

// A hand as the client writes it: the seat list, "Shuffling Deck", the action, and the seat list
// again at the end of the hand.
std::string Hand(const Seats& seats) {
    return "Starting Hand #1\r\n" + SeatLines(seats) + "Shuffling Deck\r\nDealing Cards\r\n" +
           SeatLines(seats) + "End of Hand #1\r\n";
}

const std::string kHeader =
    "Table #7 - The Unicorn\r\nGame Type: HOLD'EM\r\nBlinds are now $0.10/$0.25\r\n";

sSeatState Read(const std::string& text, bool expectOk = true, const CStatsStore& store = {}) {
    sSeatState seats;
    EXPECT_EQ(ReadSeatsFromText(text, store, seats), expectOk);
    return seats;
}

}  // namespace

TEST(SeatReaderHand, CurrentHandStartsAtTheLastShufflingDeck) {
    sSeatState seats =
        Read(kHeader + Hand({{1, "Ann"}, {4, "Cy"}}) + Hand({{2, "Dee"}, {3, "Eve"}}));
    EXPECT_EQ(seats.m_strSeatName[0], "");
    EXPECT_EQ(seats.m_strSeatName[1], "Dee");
    EXPECT_EQ(seats.m_strSeatName[2], "Eve");
    EXPECT_EQ(seats.m_strSeatName[3], "");  // Cy sat only in the earlier hand

    // Without any "Shuffling Deck" the first seat lines of the file count.
    seats =
        Read(kHeader + SeatLines({{2, "Ann"}, {5, "Bob"}}) + SeatLines({{2, "Zed"}, {3, "Yan"}}));
    EXPECT_EQ(seats.m_strSeatName[1], "Ann");
    EXPECT_EQ(seats.m_strSeatName[2], "Yan");

    // A hand still being played has its seat list only before its "Shuffling Deck".
    Read(kHeader + Hand({{1, "Ann"}, {2, "Bob"}}) + SeatLines({{1, "Ann"}}) + "Shuffling Deck\r\n",
         false);
}

TEST(SeatReaderSize, ClassFromCountLayoutFromHighestSeat) {
    struct Case {
        Seats seats;
        int sizeClass;
        int layout;
    };
    const Case cases[] = {
        {{{1, "A"}, {2, "B"}}, SIZE_HEADSUP, LAYOUT_HEADSUP},
        {{{1, "A"}, {2, "B"}, {5, "C"}}, SIZE_3TO6, LAYOUT_SIXMAX},
        {{{3, "A"}, {8, "B"}}, SIZE_HEADSUP, LAYOUT_FULLRING},
        {{{1, "A"}, {2, "B"}, {3, "C"}, {4, "D"}, {5, "E"}, {6, "F"}, {7, "G"}},
         SIZE_7TO10,
         LAYOUT_FULLRING},
        {{{2, "A"}, {10, "B"}}, SIZE_HEADSUP, LAYOUT_FULLRING},  // "Seat 1:" is not "Seat 10:"
    };
    for (const Case& c : cases) {
        const sSeatState seats = Read(kHeader + Hand(c.seats));
        EXPECT_EQ(seats.m_nSizeClass, c.sizeClass) << c.seats.back().first;
        EXPECT_EQ(seats.m_nLayoutSize, c.layout) << c.seats.back().first;
        EXPECT_EQ(seats.m_strSeatName[c.seats.back().first - 1], c.seats.back().second);
    }
    EXPECT_EQ(Read(kHeader + Hand({{2, "A"}, {10, "B"}})).m_strSeatName[0], "");

    // Only seat 1, or no seat: false, with the table's size and markers already taken.
    sSeatState seats = Read(kHeader + Hand({{1, "Solo"}}), false);
    EXPECT_EQ(seats.m_nSizeClass, SIZE_HEADSUP);
    EXPECT_EQ(seats.m_nStake, STAKE_25NL);
    EXPECT_EQ(seats.m_nLayoutSize, LAYOUT_UNKNOWN);
    EXPECT_EQ(seats.m_strSeatName[0], "");
    Read(kHeader + "Shuffling Deck\r\n", false);
}

// The layout size is set by the first reading only; each reading empties the last one's seats.
TEST(SeatReaderSize, LaterReadingsKeepTheLayoutAndReplaceTheSeats) {
    CStatsStore store;
    store.AddPlayer("Someone");
    const int ann = store.AddPlayer("Ann");
    sSeatState seats;
    ASSERT_TRUE(ReadSeatsFromText(kHeader + Hand({{1, "Ann"}, {2, "ann"}}), store, seats));
    EXPECT_EQ(seats.m_nPlayer[0], ann);
    EXPECT_EQ(seats.m_nPlayer[1], -1);  // names compare case-sensitively
    ASSERT_TRUE(
        ReadSeatsFromText(kHeader + Hand({{4, "Ann"}, {9, "Eve"}, {10, "X"}}), store, seats));
    EXPECT_EQ(seats.m_nLayoutSize, LAYOUT_HEADSUP);
    EXPECT_EQ(seats.m_nSizeClass, SIZE_3TO6);
    EXPECT_EQ(seats.m_nPlayer[0], -1);
    EXPECT_EQ(seats.m_strSeatName[0], "");
    EXPECT_EQ(seats.m_nPlayer[3], ann);
}

TEST(SeatReaderNames, EndAtDashOrEarlierParenthesis) {
    const sSeatState seats = Read(kHeader + "Shuffling Deck\r\n" +
                                  "Seat 1: Ann (sitting out) - $10\r\n"  // ends before " ("
                                  "Seat 2: Bob - $5 (all-in)\r\n"        // " -" first
                                  "Seat 3: Cy-Jo - $5\r\n"               // a dash inside a name
                                  "Seat 4:  - $5\r\n"                    // nothing between
                                  "Seat 5: Dee\r\nDee: hi - there\r\n"   // " -" past the line end
                                  "Seat 6: Eve (away)\r\n");             // " (" alone ends nothing
    EXPECT_EQ(seats.m_strSeatName[0], "Ann");
    EXPECT_EQ(seats.m_strSeatName[1], "Bob");
    EXPECT_EQ(seats.m_strSeatName[2], "Cy-Jo");
    EXPECT_EQ(seats.m_strSeatName[3], "");
    EXPECT_EQ(seats.m_strSeatName[4], "Dee\r\nDee: hi");
    EXPECT_EQ(seats.m_strSeatName[5], "");
    EXPECT_EQ(seats.m_nSizeClass, SIZE_3TO6);  // the unnamed seats still count
}

TEST(SeatReaderNames, AnUnnamedSeatHasNoPlayerEvenWhenTheStoreHasAnUnnamedOne) {
    // A malformed file can leave the store a player with an empty name; a seat line with nothing
    // before its " -" is still a seat without anyone, not that player.
    CStatsStore store;
    store.AddPlayer("Ann");
    store.AddPlayer("");
    const sSeatState seats =
        Read(kHeader + "Shuffling Deck\r\nSeat 1: Ann - $10\r\nSeat 4:  - $5\r\n", true, store);
    EXPECT_EQ(seats.m_nPlayer[0], 0);
    EXPECT_EQ(seats.m_strSeatName[3], "");
    EXPECT_EQ(seats.m_nPlayer[3], -1);
}

TEST(SeatReaderMarkers, GameAndStakeFromTheWholeText) {
    const std::string hand = Hand({{1, "A"}, {2, "B"}});
    struct Case {
        std::string text;
        int game;  // m_nGame, from GAME_UNKNOWN
        int stake;
    };
    const Case cases[] = {
        {"x" + hand, GAME_UNKNOWN, STAKE_OTHER},
        // A marker at the very first byte of the file is not a marker.
        {"Game Type: OMAHA\r\nBlinds are now $1/$2\r\n" + hand, GAME_UNKNOWN, STAKE_200NL},
        // Earlier rows of the stake table win, wherever they stand in the file.
        {"T\r\nBlinds are now $0.05/$0.10\r\n" + hand + "Table Type: TOURNAMENT\r\n", GAME_UNKNOWN,
         STAKE_TOURNAMENT},
        // Hold'em is looked for first, even when Omaha comes first in the file.
        {"T\r\nGame Type: OMAHA\r\n" + hand + "Game Type: HOLD'EM\r\n", GAME_HOLDEM, STAKE_OTHER},
        // The later clients' spaced blinds count as their level, as in the parser.
        {"T\r\nBlinds are now $0.25 / $0.50\r\n" + hand, GAME_UNKNOWN, STAKE_50NL},
        // Beyond the parser's first 2500 bytes, still found here.
        {"T" + std::string(3000, '.') + "Blinds are now $2/$4 Game Type: OMAHA" + hand, GAME_OMAHA,
         STAKE_400NL},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const sSeatState seats = Read(cases[i].text);
        EXPECT_EQ(seats.m_nGame, cases[i].game) << i;
        EXPECT_EQ(seats.m_nStake, cases[i].stake) << i;
    }

    sSeatState omaha;
    omaha.m_nGame = GAME_OMAHA;  // known from an earlier reading
    ASSERT_TRUE(ReadSeatsFromText("T\r\n" + hand, {}, omaha));
    EXPECT_EQ(omaha.m_nGame, GAME_OMAHA);
}

// The marker search looks at anchor bytes only; a plain search of every marker must agree with
// it on texts built from markers, broken markers and their anchor bytes.
TEST(SeatReaderMarkers, FastSearchAgreesWithPlainSearch) {
    const auto counts = [](std::string_view text, std::string_view marker) {
        const size_t pos = text.find(marker);
        return pos != std::string_view::npos && pos > 0;
    };
    std::vector<std::string> pieces = {"T", "/", "Type: ", "x", "Blinds are now ", "$0.10/$0.25"};
    for (std::string_view marker : kGameMarkers) {
        pieces.emplace_back(marker);
        pieces.emplace_back(marker.substr(0, marker.size() - 1));
    }
    for (std::string_view marker : kStakeMarkers) {
        pieces.emplace_back(marker);
        pieces.emplace_back(marker.substr(0, marker.size() - 1));
    }
    pieces.insert(pieces.end(), kSpacedBlindMarkers.begin(), kSpacedBlindMarkers.end());
    uint32_t state = 12345;
    const auto next = [&state](size_t bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (size_t i = next(7); i > 0; --i) {
            text += pieces[next(pieces.size())];
        }
        int game = -1;
        int stake = STAKE_OTHER;
        for (int g = GAME_MAX - 1; g >= 0; --g) {
            game = counts(text, kGameMarkers[g]) ? g : game;
        }
        for (int level = STAKE_OTHER - 1; level >= 0; --level) {
            const bool spaced =
                IsNoLimitStake(level) && counts(text, kSpacedBlindMarkers[level - STAKE_FIRST_NL]);
            stake = counts(text, kStakeMarkers[level]) || spaced ? level : stake;
        }
        const sTableMarkers fast = ClassifyTableText(text);
        ASSERT_EQ(fast.game, game) << text;
        ASSERT_EQ(fast.stake, stake) << text;
    }
}

TEST(SeatReaderFile, UnreadableFileEmptiesSeatsAndKeepsTheRest) {
    testing_support::ScopedTempDir dir;
    _sTableOpenInfo table;
    table.m_strPath = dir.File("Table.txt");
    table.m_bChanged = true;
    testing_support::WriteFile(table.m_strPath, kHeader + Hand({{1, "A"}, {3, "B"}}));

    CSeatReader reader;
    sSeatState seats;
    ASSERT_TRUE(reader.ReadSeats(table, {}, seats));
    EXPECT_FALSE(table.m_bChanged);
    EXPECT_EQ(seats.m_strSeatName[2], "B");

    table.m_bChanged = true;
    std::filesystem::remove(table.m_strPath);
    EXPECT_FALSE(reader.ReadSeats(table, {}, seats));
    EXPECT_TRUE(table.m_bChanged);
    EXPECT_EQ(seats.m_strSeatName[2], "");
    EXPECT_EQ(seats.m_nStake, STAKE_25NL);
    EXPECT_EQ(seats.m_nSizeClass, SIZE_HEADSUP);

    // A readable file whose hand shows no second seat leaves the flag set as well.
    CSeatReader soloReader([](const std::string&, std::string& text) {
        text = kHeader + Hand({{1, "Solo"}});
        return true;
    });
    EXPECT_FALSE(soloReader.ReadSeats(table, {}, seats));
    EXPECT_TRUE(table.m_bChanged);
}

TEST(SeatReaderSamples, RealFilesAgreeWithTheParser) {
    const auto samples = testing_support::SamplesDir();
    if (!samples) {
        GTEST_SKIP() << "no hand history samples on this machine";
    }
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(*samples)) {
        if (entry.path().extension() != ".txt") {
            continue;
        }
        std::string text;
        ASSERT_TRUE(ReadTextFile(entry.path().string(), text));
        CStatsStore store;
        ParseHistoryText(store, text);
        sSeatState seats;
        const bool ok = ReadSeatsFromText(text, store, seats);
        const std::string file = entry.path().filename().string();
        ++files;
        // Classified like the parser when the markers lie in the parser's part of the file.
        if (GameOfText(text.substr(0, 2500)) >= 0) {
            EXPECT_EQ(seats.m_nGame, DetectGameType(text)) << file;
        }
        EXPECT_EQ(StakeLevelOfText(text.substr(0, 2500)), DetectStakeLevel(text)) << file;
        // No name runs into the chip count or the next line.
        for (int i = 0; ok && i < kSeatCount; ++i) {
            EXPECT_EQ(seats.m_strSeatName[i].find_first_of("-\n"), std::string::npos) << file;
        }
    }
    EXPECT_GT(files, 5);
}
