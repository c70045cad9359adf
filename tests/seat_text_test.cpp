#include "hud/SeatText.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "Simulator.h"
#include "history/HistoryParser.h"
#include "history/StatsStore.h"
#include "hud/SeatReader.h"
#include "hud/StatFormulas.h"
#include "overlay/Settings.h"

namespace {

// A Hold'em 25NL six-max table's seat state over a store whose counters each test sets.
class SeatTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        seats.m_nGame = GAME_HOLDEM;
        seats.m_nStake = STAKE_25NL;
        seats.m_nSizeClass = SIZE_3TO6;
    }
    // Seats `name` at seat index 0, adding him to the store with the given counters.
    void Seat(const std::string& name, eSizeClass sizeClass,
              std::initializer_list<std::pair<eCounter, int32_t>> counters,
              eStakeLevel stake = STAKE_25NL) {
        int player = store.FindPlayer(name);
        player = player >= 0 ? player : store.AddPlayer(name);
        int32_t* block = store.CounterBlock(player, {GAME_HOLDEM, stake, sizeClass});
        for (const auto& [k, value] : counters) {
            block[k] = value;
        }
        seats.m_strSeatName[0] = name;
        seats.m_nPlayer[0] = player;
    }
    SeatTexts Compose() {
        SeatTexts texts;
        colour = ComposeSeatText(store, settings, seats, 0, texts);
        return texts;
    }
    // The first two lines of the main text.
    std::string Head() {
        const std::string main = Compose()[0];
        return main.substr(0, main.find('\n', main.find('\n') + 1));
    }

    CStatsStore store;
    sSettings settings;  // the defaults: everything shown but W$SD
    sSeatState seats;
    uint32_t colour = 0;
};

const std::string kStreetNames =
    "F: cbet : ftcbet : AgFr\nT: cbet : ftcbet : AgFr\nR: cbet : ftcbet : AgFr\n";

}  // namespace

TEST_F(SeatTextTest, KnownPlayerAllFourTexts) {
    Seat("Ann", SIZE_3TO6,
         {{CNT_HANDS, 57},         {CNT_VPIP, 13},          {CNT_PFR, 7},      {CNT_SAWFLOP, 20},
          {CNT_SHOWDOWN, 5},       {CNT_WONSHOWDOWN, 3},    {CNT_PF3BET, 4},   {CNT_PFNO3BET, 5},
          {CNT_PFFOLDTO3BET, 2},   {CNT_PFNOFOLDTO3BET, 3}, {CNT_FLOPCBET, 6}, {CNT_FLOPNOCBET, 6},
          {CNT_FLOPFOLDTOCBET, 1}, {CNT_FLOPCALLCBET, 1},   {CNT_FLOPBET, 12}, {CNT_FLOPCALL, 5},
          {CNT_TURNCBET, 2},       {CNT_TURNNOCBET, 1},     {CNT_TURNBET, 12}, {CNT_RIVERRAISE, 4},
          {CNT_RIVERCHECK, 5}});
    const SeatTexts texts = Compose();
    EXPECT_EQ(texts[0], "Ann (57)\n22.8 : 12.3 : 25\n3bet 4/9 ft3bet 2/5");
    // AF: 12 to 5 reads 240, 12 to 0 reads 100, 4 to 5 is too few to show a value.
    EXPECT_EQ(texts[1], "F: 50 : 1/2 : AF 240\nT: 2/3 : 0/0 : AF 100\nR: 0/0 : 0/0 : AF 4/5\n");
    EXPECT_EQ(texts[2], "Ann (hands)\nVPIP:PFR:WTSD\n3bet:fold to 3bet");
    EXPECT_EQ(texts[3], kStreetNames);
    EXPECT_EQ(seats.m_strMain[0], texts[0]);
    EXPECT_EQ(colour, kColourNeutral);

    settings.ShowWONSD = true;
    EXPECT_EQ(Head(), "Ann (57)\n22.8 : 12.3 : 25 : 3/5");
    // Ten three-bet chances show the value, nine do not.
    Seat("Ann", SIZE_3TO6, {{CNT_PF3BET, 3}, {CNT_PFNO3BET, 6}});
    EXPECT_NE(Compose()[0].find("\n3bet 3/9 "), std::string::npos);
    Seat("Ann", SIZE_3TO6, {{CNT_PFNO3BET, 7}});
    EXPECT_NE(Compose()[0].find("\n3bet 30.0 "), std::string::npos);
}

TEST_F(SeatTextTest, ShowSettingsChooseItemsAndSeparators) {
    Seat("Ann", SIZE_3TO6, {{CNT_HANDS, 10}, {CNT_VPIP, 5}, {CNT_PFR, 2}});
    settings.ShowVPIP = settings.ShowPFR = settings.ShowWTSD = settings.ShowWONSD = false;
    SeatTexts texts = Compose();
    EXPECT_EQ(texts[0], "Ann (10)\n\n3bet 0/0 ft3bet 0/0");
    EXPECT_EQ(texts[2], "Ann (hands)\n\n3bet:fold to 3bet");

    settings.ShowPFR = true;
    settings.Show3BET = settings.ShowCBET = settings.ShowFTCBET = false;
    texts = Compose();
    EXPECT_EQ(texts[0], "Ann (10)\n20.0\nft3bet 0/0");
    EXPECT_EQ(texts[1], "F: AF 0/0\nT: AF 0/0\nR: AF 0/0\n");
    EXPECT_EQ(texts[3], "F: AgFr\nT: AgFr\nR: AgFr\n");
}

TEST_F(SeatTextTest, LongNamesCutInTheMainViewOnly) {
    const std::string name = "Abcdefghijklmnopqrstu";
    Seat(name, SIZE_3TO6, {{CNT_HANDS, 3}});
    const SeatTexts texts = Compose();
    EXPECT_EQ(texts[0].substr(0, texts[0].find('\n')), "Abcdefghijklmnop (3)");
    EXPECT_EQ(texts[2].substr(0, texts[2].find('\n')), name + " (hands)");
}

TEST_F(SeatTextTest, UnknownPlayersShowTheNames) {
    const auto expectUnknown = [&](const char* why) {
        const SeatTexts texts = Compose();
        EXPECT_EQ(texts[0], seats.m_strSeatName[0] + " (hands)\nVPIP:PFR:WTSD\n3bet:fold to 3bet")
            << why;
        EXPECT_EQ(texts[1], kStreetNames) << why;
        EXPECT_EQ(texts[2], texts[0]) << why;
        EXPECT_EQ(seats.m_strMain[0], texts[0]) << why;
        EXPECT_EQ(colour, kColourUnknown) << why;
    };
    Seat("Bob", SIZE_HEADSUP, {{CNT_HANDS, 30}});
    expectUnknown("no hands in this class or the next");
    Seat("Ann", SIZE_3TO6, {{CNT_HANDS, 30}});
    seats.m_nPlayer[0] = -1;
    expectUnknown("not in the store");
    seats.m_nPlayer[0] = store.FindPlayer("Ann");
    seats.m_nGame = GAME_UNKNOWN;
    expectUnknown("game unknown");
    seats.m_nGame = GAME_HOLDEM;
    store.ResetStatistics();  // a full reload between reading the seats and composing them
    expectUnknown("store emptied");
}

// A table whose size class is not read yet, or whose numbers are out of range, shows the player
// as unknown: as a flat bucket number, 25NL at size class 3 would be 50NL heads-up.
TEST_F(SeatTextTest, TableOutsideTheAxesShowsThePlayerAsUnknown) {
    Seat("Ann", SIZE_HEADSUP, {{CNT_HANDS, 30}, {CNT_VPIP, 30}}, STAKE_50NL);
    for (const bool split : {false, true}) {
        settings.SplitStats_Stakes = split;
        seats.m_nStake = STAKE_25NL;
        seats.m_nSizeClass = SIZECLASS_MAX;
        Compose();
        EXPECT_EQ(colour, kColourUnknown) << "size class not read, split " << split;
        seats.m_nSizeClass = -1;
        Compose();
        EXPECT_EQ(colour, kColourUnknown) << "size class -1, split " << split;
        seats.m_nSizeClass = SIZE_HEADSUP;
        seats.m_nStake = -1;
        Compose();
        EXPECT_EQ(colour, kColourUnknown) << "stake -1, split " << split;
        seats.m_nStake = STAKE_50NL;
        EXPECT_EQ(Head(), "Ann (30)\n100.0 : 0.0 : 0/0") << "the bucket itself, split " << split;
    }
}

TEST_F(SeatTextTest, FallsBackOneSizeClassUpWithMarker) {
    Seat("Ann", SIZE_3TO6, {{CNT_HANDS, 6}, {CNT_VPIP, 6}});
    Seat("Ann", SIZE_7TO10, {{CNT_HANDS, 40}, {CNT_VPIP, 12}});
    EXPECT_EQ(Head(), "*Ann (40)\n30.0 : 0.0 : 0/0");
    EXPECT_EQ(colour, kColourNeutral);  // 30% is within class 2's range, not above class 1's

    seats.m_nSizeClass = SIZE_7TO10;  // nowhere further to go
    Seat("Ann", SIZE_7TO10, {{CNT_HANDS, 6}, {CNT_VPIP, 0}});
    EXPECT_EQ(Head(), "Ann (6)\n0.0 : 0.0 : 0/0");
    EXPECT_EQ(colour, kColourTight);

    seats.m_nSizeClass = SIZE_HEADSUP;  // one step only, and only to more hands
    Seat("Ann", SIZE_HEADSUP, {{CNT_HANDS, 3}});
    Seat("Ann", SIZE_3TO6, {{CNT_HANDS, 5}});
    EXPECT_EQ(Compose()[0].substr(0, 8), "*Ann (5)");
    Seat("Ann", SIZE_3TO6, {{CNT_HANDS, 3}});
    EXPECT_EQ(Compose()[0].substr(0, 8), "Ann (3)\n");
}

TEST_F(SeatTextTest, CashStakesPooledUnlessSplit) {
    Seat("Ann", SIZE_3TO6, {{CNT_HANDS, 20}, {CNT_VPIP, 2}}, STAKE_10NL);
    Seat("Ann", SIZE_3TO6, {{CNT_HANDS, 10}, {CNT_VPIP, 10}}, STAKE_25NL);
    Seat("Ann", SIZE_3TO6, {{CNT_HANDS, 7}, {CNT_VPIP, 7}}, STAKE_LIMIT);
    EXPECT_EQ(Head(), "Ann (30)\n40.0 : 0.0 : 0/0");
    settings.SplitStats_Stakes = true;
    EXPECT_EQ(Head(), "Ann (10)\n100.0 : 0.0 : 0/0");
    settings.SplitStats_Stakes = false;
    seats.m_nStake = STAKE_LIMIT;
    EXPECT_EQ(Head(), "Ann (7)\n100.0 : 0.0 : 0/0");
}

TEST_F(SeatTextTest, ColourThresholdsAreStrict) {
    struct Case {
        eSizeClass sizeClass;
        int32_t hands;
        int32_t vpip;
        uint32_t colour;
    };
    const Case cases[] = {
        {SIZE_3TO6, 4, 4, kColourNeutral},  // too few hands to judge; before class 2 has any
        {SIZE_3TO6, 10, 4, kColourNeutral},       {SIZE_3TO6, 1000, 401, kColourLoose},
        {SIZE_3TO6, 10, 2, kColourNeutral},       {SIZE_3TO6, 1000, 199, kColourTight},
        {SIZE_7TO10, 20, 7, kColourNeutral},      {SIZE_7TO10, 1000, 351, kColourLoose},
        {SIZE_7TO10, 20, 3, kColourNeutral},      {SIZE_7TO10, 1000, 149, kColourTight},
        {SIZE_HEADSUP, 100, 100, kColourNeutral}, {SIZE_HEADSUP, 100, 0, kColourNeutral},
    };
    for (const Case& c : cases) {
        seats.m_nSizeClass = c.sizeClass;
        Seat("Ann", c.sizeClass, {{CNT_HANDS, c.hands}, {CNT_VPIP, c.vpip}});
        Compose();
        EXPECT_EQ(colour, c.colour) << c.sizeClass << " " << c.vpip << "/" << c.hands;
    }
    EXPECT_EQ(kColourUnknown, 0x007F7F9Fu);  // RGB(159, 127, 127) as a COLORREF
    EXPECT_EQ(kColourTight, 0x000000FFu);
}

// The overlays and the command-line tool's stats print the same numbers: a simulated table is
// parsed, its seats read and composed, and each main line compared with the items of the
// counters the simulator says the player must have.
TEST(SeatTextSimulated, MainLinesMatchTheSimulatorsCounters) {
    pkrsim::sSimOptions options;
    options.seed = 11;
    options.hands = 400;
    options.players = 14;
    options.game = GAME_HOLDEM;
    options.stake = STAKE_50NL;
    options.laterFormat = true;  // blinds written "$0.25 / $0.50"
    options.minSeats = options.maxSeats = 6;
    std::vector<pkrsim::sExpectedRow> expected;
    const std::string text = pkrsim::GenerateTableText(options, &expected);

    CStatsStore store;
    ParseHistoryText(store, text);
    sSeatState seats;
    ASSERT_TRUE(ReadSeatsFromText(text, store, seats));
    ASSERT_EQ(seats.m_nStake, STAKE_50NL);
    int compared = 0;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        for (const auto& row : expected) {
            if (row.name != seats.m_strSeatName[seat] || row.sizeClass != SIZE_3TO6) {
                continue;
            }
            SeatTexts texts;
            ComposeSeatText(store, sSettings{}, seats, seat, texts);
            const std::span<const int64_t, CNT_MAX> counters(row.counters);
            const std::string main = " (" + std::to_string(row.counters[CNT_HANDS]) + ")\n" +
                                     StatText(ComputeStat(eStat::VPIP, counters)) + " : " +
                                     StatText(ComputeStat(eStat::PFR, counters)) + " : " +
                                     StatText(ComputeStat(eStat::WTSD, counters)) + "\n";
            EXPECT_NE(texts[0].find(main), std::string::npos) << texts[0] << "\nwanted " << main;
            ++compared;
        }
    }
    EXPECT_GE(compared, 4);
}
