// The simulator's hand engine keeps the game honest (chips, blinds, button, betting order), and
// its money, time and counter-file formats read as the client and the truth test expect.
#include <gtest/gtest.h>

#include <numeric>

#include "CivilTime.h"
#include "ExpectedCounters.h"
#include "HandEngine.h"
#include "TableState.h"
#include "tests/TestSupport.h"

namespace {

using namespace pkrsim;

struct sTableKind {
    int stake;
    int game;
    int seats;
};

// Plays `hands` hands at a table of the given kind, calling `check` after each.
template <class Check>
void PlayTable(const sTableKind& kind, int hands, Check&& check) {
    CRng rng(kind.stake * 31 + kind.game * 7 + kind.seats);
    const CPlayerPool pool("Hero", 40, rng);
    sTableLimits limits;
    limits.stake = kind.stake;
    limits.game = kind.game;
    limits.minSeats = limits.maxSeats = kind.seats;
    sTableState table(DrawTable(limits, 0, rng), rng.Fork(), 0);
    SeatInitialPlayers(table, pool);
    CHandEngine engine(pool);
    sHandRecord hand;
    for (int h = 0; h < hands; ++h) {
        if (h > 0) {
            PrepareNextHand(table, pool);
        }
        engine.PlayHand(table, 1000u + static_cast<uint32_t>(h), hand);
        check(table, hand);
    }
}

int64_t Sum(const sHandRecord& hand, eEvent kind) {
    int64_t total = 0;
    for (const sHandEvent& event : hand.events) {
        total += event.kind == kind ? event.amount : 0;
    }
    return total;
}

TEST(SimEngine, ChipsAreConservedAndStacksNeverGoNegative) {
    for (const sTableKind kind :
         {sTableKind{STAKE_50NL, GAME_HOLDEM, 9}, sTableKind{STAKE_LIMIT, GAME_HOLDEM, 6},
          sTableKind{STAKE_TOURNAMENT, GAME_HOLDEM, 10}, sTableKind{STAKE_100NL, GAME_OMAHA, 6},
          sTableKind{STAKE_PLAYMONEY, GAME_HOLDEM, 2}}) {
        PlayTable(kind, 400, [&](const sTableState&, const sHandRecord& hand) {
            int64_t before = 0;
            int64_t after = 0;
            for (const sHandSeat& seat : hand.seats) {
                before += seat.stackBefore;
                after += seat.stackAfter;
                ASSERT_GE(seat.stackAfter, 0);
                if (!seat.dealtIn) {
                    EXPECT_EQ(seat.stackAfter, seat.stackBefore);
                }
            }
            const int64_t rake = Sum(hand, eEvent::Rake);
            ASSERT_EQ(before, after + rake)
                << "hand " << hand.handNumber << " stake " << kind.stake;
            EXPECT_LE(rake, 3 * hand.bigBlind);
            if (kind.stake == STAKE_PLAYMONEY || kind.stake == STAKE_TOURNAMENT) {
                EXPECT_EQ(rake, 0);
            }
        });
    }
}

TEST(SimEngine, BlindsButtonAndBettingFollowTheRules) {
    for (const int seats : {2, 6, 10}) {
        int previousButton = -1;
        PlayTable({STAKE_25NL, GAME_HOLDEM, seats}, 300,
                  [&](const sTableState& table, const sHandRecord& hand) {
                      ASSERT_GE(hand.events.size(), 2u);
                      const sHandEvent& small = hand.events[0];
                      const sHandEvent& big = hand.events[1];
                      ASSERT_EQ(small.kind, eEvent::PostSmallBlind);
                      ASSERT_EQ(big.kind, eEvent::PostBigBlind);
                      EXPECT_EQ(small.amount, hand.smallBlind);
                      EXPECT_EQ(big.amount, hand.bigBlind);

                      std::vector<int> dealt;  // seat numbers dealt in, ascending
                      for (const sHandSeat& seat : hand.seats) {
                          if (seat.dealtIn) {
                              dealt.push_back(seat.seatNumber);
                          }
                      }
                      ASSERT_GE(dealt.size(), 2u);
                      const auto button = std::find(dealt.begin(), dealt.end(), hand.button);
                      ASSERT_NE(button, dealt.end()) << "the button is on a seat dealt in";
                      const size_t b = static_cast<size_t>(button - dealt.begin());
                      const int smallSeat = hand.seats[small.seat].seatNumber;
                      if (dealt.size() == 2) {
                          EXPECT_EQ(smallSeat, hand.button)
                              << "heads-up the button posts the small blind";
                      } else {
                          EXPECT_EQ(smallSeat, dealt[(b + 1) % dealt.size()]);
                          EXPECT_EQ(hand.seats[big.seat].seatNumber, dealt[(b + 2) % dealt.size()]);
                      }
                      if (previousButton >= 0) {
                          EXPECT_EQ(hand.previousButton, previousButton);
                      }
                      previousButton = table.buttonSeat;

                      // Calls, bets and raises name street totals that only ever grow on a street,
                      // and nobody acts after folding.
                      std::vector<bool> folded(hand.seats.size(), false);
                      int64_t streetHigh = hand.bigBlind;
                      for (const sHandEvent& event : hand.events) {
                          if (event.kind == eEvent::DealStreet) {
                              streetHigh = 0;
                          }
                          if (event.kind != eEvent::Act) {
                              continue;
                          }
                          EXPECT_FALSE(folded[event.seat]) << "hand " << hand.handNumber;
                          folded[event.seat] = event.action == eAction::Fold;
                          if (event.action == eAction::Bet || event.action == eAction::Raise) {
                              EXPECT_GT(event.amount, streetHigh) << "hand " << hand.handNumber;
                              EXPECT_EQ(event.action == eAction::Bet, streetHigh == 0);
                              streetHigh = event.amount;
                          } else if (event.action == eAction::Call) {
                              EXPECT_LE(event.amount, streetHigh);
                              EXPECT_TRUE(event.amount == streetHigh || event.allIn);
                          }
                      }
                  });
    }
}

TEST(SimFormats, MoneyAndTimesAreWrittenAsTheClientWritesThem) {
    std::string text;
    for (const int64_t cents : {50, 100, 1625, 389500, 100000000}) {
        AppendMoney(text, cents, eMoney::Real);
        text += ' ';
    }
    AppendMoney(text, 10000, eMoney::TournamentChips);
    EXPECT_EQ(text, "$0.50 $1 $16.25 $3,895 $1,000,000 10,000");

    const auto leapDay = ParseDate("20240229");
    ASSERT_TRUE(leapDay.has_value());
    EXPECT_EQ(*leapDay, 1709164800);
    text.clear();
    AppendHandTime(text, *leapDay + 86400 + 14 * 3600 + 22 * 60 + 36);
    EXPECT_EQ(text, "01 Mar 2024 14:22:36");
    text.clear();
    AppendHandTime(text, *ParseDate("20101231") + 86399);
    EXPECT_EQ(text, "31 Dec 2010 23:59:59");
    EXPECT_FALSE(ParseDate("20240230"));
    EXPECT_FALSE(ParseDate("19691231"));
    EXPECT_TRUE(ParseDate(TodayDate()));
}

TEST(SimFormats, ExpectedCountersFileRoundTripsAndRejectsDamage) {
    testing_support::ScopedTempDir dir;
    CRng rng(3);
    const CPlayerPool pool("Hero", 10, rng);
    sHandRecord hand;
    for (int player : {0, 4}) {
        sHandSeat seat;
        seat.player = player;
        seat.seatNumber = player + 1;
        seat.dealtIn = true;
        hand.seats.push_back(seat);
    }
    sHandEvent fold;
    fold.action = eAction::Fold;
    fold.seat = 1;
    hand.events.push_back(fold);
    CExpectedCounters expected;
    expected.AddHand(hand, GAME_OMAHA, STAKE_OTHER);
    expected.AddHand(hand, GAME_OMAHA, STAKE_OTHER);
    const std::string path = dir.File("expected-counters.tsv");
    ASSERT_TRUE(expected.Write(path, pool));

    int64_t hands = 0;
    std::vector<sExpectedRow> rows;
    ASSERT_TRUE(ReadExpectedCounters(path, hands, rows));
    EXPECT_EQ(hands, 2);
    ASSERT_EQ(rows.size(), 1u) << "the big blind of a walk has no counters";
    EXPECT_EQ(rows[0].name, pool.Name(4));
    EXPECT_EQ(rows[0].game, GAME_OMAHA);
    EXPECT_EQ(rows[0].stake, STAKE_OTHER);
    EXPECT_EQ(rows[0].sizeClass, SIZE_HEADSUP);
    EXPECT_EQ(rows[0].counters[CNT_HANDS], 2);
    EXPECT_EQ(std::accumulate(rows[0].counters.begin(), rows[0].counters.end(), int64_t{0}), 2);

    const std::string text = testing_support::ReadFile(path);
    testing_support::WriteFile(path, text.substr(0, text.size() - 4) + "x\n");
    EXPECT_FALSE(ReadExpectedCounters(path, hands, rows));
    testing_support::WriteFile(path, "hands 2\n");
    EXPECT_FALSE(ReadExpectedCounters(path, hands, rows));
}

}  // namespace
