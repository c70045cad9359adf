#include <gtest/gtest.h>

#include "history/GameTypes.h"
#include "history/HistoryParser.h"
#include "history/StatsStore.h"
#include "tests/HandText.h"

using hand_text::Hand;
using hand_text::Header;

namespace {

using Seats = std::vector<std::pair<int, std::string>>;

class ParserTest : public ::testing::Test {
protected:
    // Counter k of `name` in the bucket of the test header (hold'em, 50NL) and `sizeClass`.
    int32_t Count(const std::string& name, eCounter k, eSizeClass sizeClass = SIZE_3TO6) const {
        const int player = store.FindPlayer(name);
        if (player < 0) {
            return -1;
        }
        return store.RawCounter(player, {GAME_HOLDEM, STAKE_50NL, sizeClass}, k);
    }
    void Parse(const std::string& text) { ParseHistoryText(store, text); }

    CStatsStore store;
};

const Seats kThree = {{1, "Ann"}, {2, "Ben"}, {3, "Cid"}};

TEST_F(ParserTest, CountsPreflopAndFlopOfAPlainHand) {
    Parse(Header() +
          Hand(100, kThree,
               {"Ann raises to $1", "Ben calls $1", "Cid folds", "Dealing Flop [2c][3d][4h]",
                "Ann bets $2", "Ben folds", "Ann wins $3"}));
    EXPECT_EQ(Count("Ann", CNT_HANDS), 1);
    EXPECT_EQ(Count("Ann", CNT_VPIP), 1);
    EXPECT_EQ(Count("Ann", CNT_PFR), 1);
    EXPECT_EQ(Count("Ann", CNT_FLOPCBET), 1);
    EXPECT_EQ(Count("Ann", CNT_FLOPBET), 1);
    EXPECT_EQ(Count("Ann", CNT_SAWFLOP), 1);
    EXPECT_EQ(Count("Ben", CNT_VPIP), 1);
    EXPECT_EQ(Count("Ben", CNT_PFNO3BET), 1);
    EXPECT_EQ(Count("Ben", CNT_FLOPFOLDTOCBET), 1);
    EXPECT_EQ(Count("Ben", CNT_FLOPFOLD), 1);
    EXPECT_EQ(Count("Cid", CNT_HANDS), 1);
    EXPECT_EQ(Count("Cid", CNT_VPIP), 0);
    EXPECT_EQ(Count("Cid", CNT_SAWFLOP), 0);
    // Nobody reached a river, so nobody reached showdown.
    EXPECT_EQ(Count("Ann", CNT_SHOWDOWN), 0);
    EXPECT_EQ(store.CountedHands(), std::vector<uint32_t>{100});
}

TEST_F(ParserTest, ReparsingAddsNothingAndGrowthAddsOnlyTheNewHand) {
    const std::string first =
        Header() + Hand(1, kThree, {"Ann calls $1", "Ben checks", "Cid folds"});
    Parse(first);
    Parse(first);
    EXPECT_EQ(Count("Ann", CNT_HANDS), 1);
    Parse(first + Hand(2, kThree, {"Ann folds", "Ben folds", "Cid checks"}));
    EXPECT_EQ(Count("Ann", CNT_HANDS), 2);
    EXPECT_EQ(Count("Ann", CNT_VPIP), 1);
    EXPECT_EQ(store.CountedHands().size(), 2u);
}

TEST_F(ParserTest, ClassifiesGameAndStakeFromTheFirst2500Bytes) {
    EXPECT_EQ(DetectGameType("Game Type: OMAHA\r\nGame Type: OMAHA"), GAME_HOLDEM)
        << "a marker at position 0 is not recognised";
    EXPECT_EQ(DetectGameType("x Game Type: OMAHA"), GAME_OMAHA);
    EXPECT_EQ(DetectStakeLevel("x Blinds are now $1/$2"), STAKE_200NL);
    EXPECT_EQ(DetectStakeLevel("x Blinds are now $0.25 / $0.50"), STAKE_50NL);
    EXPECT_EQ(DetectStakeLevel("x Blinds are now $3 / $6"), STAKE_600NL);
    // Earlier rows of the table win over later ones wherever they stand.
    EXPECT_EQ(DetectStakeLevel("x Blinds are now $1/$2 Table Type: TOURNAMENT"), STAKE_TOURNAMENT);
    const std::string padded = "x" + std::string(2490, '.') + "Blinds are now $1/$2";
    EXPECT_EQ(DetectStakeLevel(padded), STAKE_OTHER) << "marker crosses the 2500-byte bound";
    EXPECT_EQ(DetectStakeLevel("x Blinds are now €0.25 / €0.50"), STAKE_OTHER);
}

TEST_F(ParserTest, AHandWithOnlySeatOneEndsTheFile) {
    const std::string text = Header() + Hand(1, {{1, "Ann"}}, {"Ann checks"}) +
                             Hand(2, kThree, {"Ann calls $1", "Ben checks", "Cid folds"});
    Parse(text);
    Parse(text);
    EXPECT_EQ(store.FindPlayer("Ben"), -1);
    EXPECT_TRUE(store.CountedHands().empty());
}

TEST_F(ParserTest, SizeClassComesFromTheNumberOfSeatLines) {
    Parse(Header() + Hand(1, {{1, "Ann"}, {9, "Ben"}}, {"Ann calls $1", "Ben checks"}));
    EXPECT_EQ(Count("Ann", CNT_HANDS, SIZE_HEADSUP), 1);
    Seats six, seven;
    for (int s = 1; s <= 7; ++s) {
        (s <= 6 ? six : seven).emplace_back(s, "P" + std::to_string(s));
    }
    seven.insert(seven.begin(), six.begin(), six.end());
    Parse(Header() + Hand(2, six, {"P1 folds"}) + Hand(3, seven, {"P1 folds"}));
    EXPECT_EQ(Count("P1", CNT_HANDS, SIZE_3TO6), 1);
    EXPECT_EQ(Count("P1", CNT_HANDS, SIZE_7TO10), 1);
}

TEST_F(ParserTest, ASeatWithoutPreflopActionCountsNothing) {
    // The big blind's walk: everybody else folds and he never acts.
    Parse(Header() + Hand(1, kThree, {"Ann folds", "Ben folds", "Cid wins $1"}));
    EXPECT_EQ(Count("Ann", CNT_HANDS), 1);
    EXPECT_NE(store.FindPlayer("Cid"), -1) << "seated players are added to the store";
    EXPECT_EQ(Count("Cid", CNT_HANDS), 0);
}

TEST_F(ParserTest, ThreeBetRulesFollowTheRaiseOrder) {
    const Seats five = {{1, "Ann"}, {2, "Ben"}, {3, "Cid"}, {4, "Dee"}, {5, "Eve"}};
    // Cid raises, Eve three-bets, Cid folds.
    Parse(Header() + Hand(1, five,
                          {"Ann folds", "Ben folds", "Cid raises to $1", "Dee folds",
                           "Eve raises to $3", "Cid folds"}));
    EXPECT_EQ(Count("Cid", CNT_PFR), 1);
    EXPECT_EQ(Count("Cid", CNT_PFFOLDTO3BET), 1);
    EXPECT_EQ(Count("Eve", CNT_PFR), 1);
    EXPECT_EQ(Count("Eve", CNT_PF3BET), 1);
    EXPECT_EQ(Count("Eve", CNT_PFNOFOLDTO3BET), 0);
    EXPECT_EQ(Count("Ann", CNT_PFNO3BET), 0) << "two raises: nobody had a plain three-bet chance";
    // Cid calls the three-bet instead.
    Parse(Header() +
          Hand(2, five, {"Ann folds", "Cid raises to $1", "Eve raises to $3", "Cid calls $2"}));
    EXPECT_EQ(Count("Cid", CNT_PFNOFOLDTO3BET), 1);
    // Cid four-bets and Eve folds to it: the three-bettor folded after the second raise too.
    Parse(Header() + Hand(3, five,
                          {"Ann folds", "Cid raises to $1", "Eve raises to $3", "Cid raises to $9",
                           "Eve folds"}));
    EXPECT_EQ(Count("Eve", CNT_PFFOLDTO3BET), 1);
    EXPECT_EQ(Count("Cid", CNT_PFNOFOLDTO3BET), 2);
}

TEST_F(ParserTest, OneRaiseGivesEveryOtherCountedSeatAThreeBetChance) {
    Parse(Header() + Hand(1, kThree, {"Ann folds", "Ben raises to $1", "Cid calls $1"}));
    EXPECT_EQ(Count("Ann", CNT_PFNO3BET), 1) << "folded before the raise, still a chance";
    EXPECT_EQ(Count("Cid", CNT_PFNO3BET), 1);
    EXPECT_EQ(Count("Ben", CNT_PFNO3BET), 0);
}

TEST_F(ParserTest, StreetActionsAreNormalised) {
    Parse(Header() +
          Hand(1, kThree,
               {"Ann calls $1", "Ben calls $1", "Cid checks", "Dealing Flop [2c][3d][4h]",
                "Ann bets $1", "Ben raises to $3", "Cid checks", "Cid calls $3", "Ann calls $2"}));
    EXPECT_EQ(Count("Ann", CNT_FLOPBET), 1);
    EXPECT_EQ(Count("Ann", CNT_FLOPCALL), 1);
    EXPECT_EQ(Count("Ann", CNT_FLOPCHECK), 0);
    EXPECT_EQ(Count("Cid", CNT_FLOPCALL), 1);
    EXPECT_EQ(Count("Cid", CNT_FLOPCHECK), 0);
    EXPECT_EQ(Count("Ben", CNT_FLOPRAISE), 1);
    // A bet followed by a raise on the same street counts as the raise only.
    Parse(Header() +
          Hand(2, kThree,
               {"Ann calls $1", "Ben calls $1", "Cid checks", "Dealing Flop [2c][3d][4h]",
                "Ann bets $1", "Ben raises to $3", "Ann raises to $9"}));
    EXPECT_EQ(Count("Ann", CNT_FLOPBET), 1);
    EXPECT_EQ(Count("Ann", CNT_FLOPRAISE), 1);
}

TEST_F(ParserTest, TurnCbetNeedsAFlopCbet) {
    const std::vector<std::string> checkedFlop = {
        "Ann raises to $1",          "Ben calls $1", "Cid folds",
        "Dealing Flop [2c][3d][4h]", "Ann checks",   "Ben checks",
        "Dealing Turn [5s]",         "Ann bets $2",  "Ben folds"};
    Parse(Header() + Hand(1, kThree, checkedFlop));
    EXPECT_EQ(Count("Ann", CNT_FLOPNOCBET), 1);
    EXPECT_EQ(Count("Ann", CNT_TURNCBET), 0);
    EXPECT_EQ(Count("Ann", CNT_TURNNOCBET), 0);
    EXPECT_EQ(Count("Ben", CNT_TURNFOLDTOCBET), 0);
    EXPECT_EQ(Count("Ann", CNT_TURNBET), 1);

    Parse(Header() +
          Hand(2, kThree,
               {"Ann raises to $1", "Ben calls $1", "Cid folds", "Dealing Flop [2c][3d][4h]",
                "Ann bets $1", "Ben calls $1", "Dealing Turn [5s]", "Ann checks", "Ben checks",
                "Dealing River [6s]", "Ann bets $2", "Ben raises to $6", "Ann folds"}));
    EXPECT_EQ(Count("Ann", CNT_FLOPCBET), 1);
    EXPECT_EQ(Count("Ben", CNT_FLOPCALLCBET), 1);
    EXPECT_EQ(Count("Ann", CNT_TURNNOCBET), 1);
    EXPECT_EQ(Count("Ann", CNT_RIVERCBET), 0) << "no turn c-bet, so no river c-bet chance";
    EXPECT_EQ(Count("Ben", CNT_RIVERRAISE), 1);
}

TEST_F(ParserTest, ShowdownNeedsTheRiver) {
    Parse(Header() + Hand(1, kThree,
                          {"Ann raises to $10 (all-in)", "Ben calls $10 (all-in)", "Cid folds",
                           "Dealing Flop [2c][3d][4h]", "Dealing Turn [5s]", "Dealing River [6s]",
                           "Ann has a Pair", "Ben mucks", "Ann wins $20 with: a Pair"}));
    EXPECT_EQ(Count("Ann", CNT_SAWFLOP), 1);
    EXPECT_EQ(Count("Ann", CNT_SHOWDOWN), 1);
    EXPECT_EQ(Count("Ann", CNT_WONSHOWDOWN), 1);
    EXPECT_EQ(Count("Ben", CNT_SHOWDOWN), 1);
    EXPECT_EQ(Count("Ben", CNT_WONSHOWDOWN), 0);
    EXPECT_EQ(Count("Ann", CNT_FLOPCHECK), 0);
    // Winning on the river without a showdown counts no W$SD.
    Parse(Header() +
          Hand(2, kThree,
               {"Ann calls $1", "Ben checks", "Cid folds", "Dealing Flop [2c][3d][4h]",
                "Ann checks", "Ben checks", "Dealing Turn [5s]", "Ann checks", "Ben checks",
                "Dealing River [6s]", "Ann bets $1", "Ben folds", "Ann wins $2"}));
    EXPECT_EQ(Count("Ann", CNT_WONSHOWDOWN), 1);
    EXPECT_EQ(Count("Ann", CNT_SHOWDOWN), 1);
}

TEST_F(ParserTest, MissingMarkersFallBackQuietly) {
    // No end marker, but another hand follows: counted as nobody's, number recorded.
    Parse(Header() + Hand(1, kThree, {"Ann calls $1"}, "") + Hand(2, kThree, {"Ann folds"}, ""));
    EXPECT_EQ(Count("Ann", CNT_HANDS), 0);
    EXPECT_EQ(store.CountedHands(), std::vector<uint32_t>{1});
}

TEST_F(ParserTest, NoMovingButtonRecordsTheHandAndEndsTheFile) {
    std::string noButton = Hand(7, kThree, {"Ann calls $1"});
    noButton.replace(noButton.find("Moving Button"), 13, "Button moving");
    Parse(Header() + noButton + "Starting Hand #8\r\n");
    EXPECT_EQ(Count("Ann", CNT_HANDS), -1) << "no seat gets a player";
    EXPECT_EQ(store.CountedHands(), std::vector<uint32_t>{7});
}

// Regression: a hand that the client is still writing must not be recorded, or its actions
// would never be counted once the hand is complete.
TEST_F(ParserTest, HandStillBeingWrittenIsCountedOnceComplete) {
    const std::string done = Header() + Hand(5, kThree, {"Ann folds", "Ben checks", "Cid folds"});
    const std::string partial = Hand(6, kThree, {"Ann raises to $1", "Ben calls $1"}, "");
    Parse(done + partial);
    EXPECT_EQ(store.CountedHands(), std::vector<uint32_t>{5});
    Parse(done + partial + "Cid folds\r\nEnd Of Hand #6\r\n");
    EXPECT_EQ(Count("Ann", CNT_PFR), 1);
    EXPECT_EQ(Count("Cid", CNT_HANDS), 2);
    // The same holds while even "Moving Button" is still missing.
    Parse(done + "Starting Hand #9\r\nSeat 1: Ann - $10\r\nSeat 2: Ben - $10\r\n");
    EXPECT_EQ(store.CountedHands().size(), 2u);
}

// Regression: hand numbers above 2^31 must stay distinct instead of saturating into one.
TEST_F(ParserTest, HandNumbersAreUnsigned32Bit) {
    Parse(Header() + Hand(2433297728u, kThree, {"Ann folds"}) +
          Hand(4294967295u, kThree, {"Ann folds"}));
    EXPECT_EQ(Count("Ann", CNT_HANDS), 2);
    EXPECT_EQ(ReadHandNumber("#  \t2433297728x", 1), 2433297728u);
    EXPECT_EQ(ReadHandNumber("#abc", 1), 0u);
    EXPECT_EQ(ReadHandNumber("#4294967296", 1), 0u) << "wraps modulo 2^32";
}

TEST_F(ParserTest, LaterClientFormatIsCounted) {
    Parse("Table #1 - T\r\nGame Type: HOLD'EM\r\nBlinds are now $0.25 / $0.50\r\n" +
          Hand(1, kThree, {"Ann calls $1", "Ben checks", "Cid folds"}, "End of Hand #"));
    EXPECT_EQ(Count("Ann", CNT_VPIP), 1);
    EXPECT_EQ(Count("Cid", CNT_HANDS), 1);
}

TEST_F(ParserTest, ActionsGoToTheLowestSeatWhoseNameEndsBeforeTheWord) {
    Parse(Header() +
          Hand(1, {{2, "Bob"}, {5, "JimBob"}, {6, "Al"}}, {"JimBob checks", "Al folds"}));
    EXPECT_EQ(Count("Bob", CNT_HANDS), 1);
    EXPECT_EQ(Count("JimBob", CNT_HANDS), 0);
}

// Regression: seats whose lines hold no " -" get the empty name, which stands before every
// word; attributing with it must not touch a null name buffer.
TEST_F(ParserTest, EmptyNamesTakeEveryWord) {
    Parse(Header() +
          "Starting Hand #5\r\nSeat 1: Ann (5)\r\nSeat 2: Bob\r\nMoving Button\r\n"
          "Ann raises to $1\r\nBob folds\r\nEnd Of Hand #5\r\n");
    EXPECT_EQ(store.PlayerCount(), 1);
    EXPECT_EQ(Count("", CNT_HANDS, SIZE_HEADSUP), 1);
    EXPECT_EQ(Count("", CNT_PFR, SIZE_HEADSUP), 1);
}

TEST(SeatNameTest, NameEndsAtDashOrAnEarlierParenthesis) {
    const std::string text = "Seat 3: Ann Lee (sitting out) - $5\r\nSeat 4: Bo - $1\r\nSeat 5: Zed";
    EXPECT_EQ(SeatName(text, 0, 7), "Ann Lee");
    EXPECT_EQ(SeatName(text, text.find("Seat 4"), 7), "Bo");
    EXPECT_EQ(SeatName(text, text.find("Seat 5"), 7), "") << "no \" -\" after the marker";
    EXPECT_EQ(SeatName("Seat 1: -", 0, 7), "");
}

TEST(ParserRobustnessTest, TruncatedAndOddTextsDoNotCrash) {
    CStatsStore store;
    const std::string hand = Header() + Hand(3, kThree,
                                             {"Ann raises to $1", "Ben calls $1", "Dealing Flop",
                                              "Ann bets $1", "Dealing River", "Ben has x"});
    for (size_t cut = 0; cut <= hand.size(); ++cut) {
        ParseHistoryText(store, std::string_view(hand).substr(0, cut));
    }
    ParseHistoryText(store, "Starting Hand #");
    ParseHistoryText(store, "Seat 10:Seat 1:Moving ButtonEnd Of Hand # checks");
    SUCCEED();
}

}  // namespace
