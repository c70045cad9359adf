// The simulator's own rules: hand evaluation for showdowns, and the counters it expects from a
// hand record (checked here against the counting rules directly, not against the parser).
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "Cards.h"
#include "CounterTruth.h"
#include "HandRecord.h"

namespace {

using namespace pkrsim;

// "As" -> ace of spades.
Card C(const char* text) {
    const std::string ranks = "23456789TJQKA";
    const std::string suits = "cdhs";
    return MakeCard(static_cast<int>(ranks.find(text[0])), static_cast<int>(suits.find(text[1])));
}

uint32_t Best(std::initializer_list<const char*> cards) {
    std::vector<Card> hand;
    for (const char* card : cards) {
        hand.push_back(C(card));
    }
    return EvaluateBest(hand.data(), static_cast<int>(hand.size()));
}

std::string Describe(uint32_t value) {
    std::string text;
    AppendHandDescription(text, value);
    return text;
}

TEST(SimEvaluator, RanksAndNamesHandsAsTheClientDoes) {
    EXPECT_EQ(Describe(Best({"As", "2d", "3c", "4h", "5s", "Kd", "Qc"})), "Straight, 5 high");
    EXPECT_EQ(Describe(Best({"Qs", "2s", "4s", "Qc", "2c", "4c", "6d"})), "Two Pairs: Queens, 4s");
    EXPECT_EQ(Describe(Best({"Kh", "Kd", "Ks", "4c", "4d", "4s", "9h"})),
              "Full House: Kings full of 4s");
    EXPECT_EQ(Describe(Best({"Ah", "Kh", "Qh", "Jh", "Th", "9h", "2c"})), "Royal Flush");
    EXPECT_EQ(Describe(Best({"Th", "Tc", "2d", "5s", "8c"})), "One Pair: Tens");

    // Category order, and kickers deciding within a category.
    EXPECT_GT(Best({"2h", "7h", "9h", "Jh", "Kh", "Qs", "Ts"}),
              Best({"9c", "Td", "Jh", "Qs", "Ks", "2c", "3d"}));
    EXPECT_GT(Best({"Ac", "Ad", "Kc", "7h", "5s"}), Best({"Ac", "Ad", "Qc", "7h", "5s"}));
    EXPECT_EQ(Best({"Ac", "Ad", "Kc", "7h", "5s"}), Best({"Ah", "As", "Kd", "7c", "5d"}));
}

TEST(SimEvaluator, OmahaUsesExactlyTwoHoleCards) {
    // Four hearts on board and one in hand: no flush without a second heart in hand.
    const Card hole[4] = {C("Ah"), C("Kc"), C("Qd"), C("2s")};
    const Card board[5] = {C("3h"), C("7h"), C("9h"), C("Jh"), C("4c")};
    EXPECT_EQ(HandCategory(EvaluateOmaha(hole, board)), HAND_HIGH_CARD);
    const Card suited[4] = {C("Ah"), C("Kh"), C("Qd"), C("2s")};
    EXPECT_EQ(Describe(EvaluateOmaha(suited, board)), "Flush, Ace high");
    // Board trips and a pair with one hole card: a full house in hold'em, not in omaha.
    const Card trips[5] = {C("9c"), C("9d"), C("9s"), C("5h"), C("2c")};
    const Card five[4] = {C("5d"), C("Ad"), C("Kc"), C("Qs")};
    EXPECT_EQ(HandCategory(EvaluateOmaha(five, trips)), HAND_THREE_OF_A_KIND);
    EXPECT_EQ(HandCategory(Best({"5d", "Ad", "9c", "9d", "9s", "5h", "2c"})), HAND_FULL_HOUSE);
}

// Builds hand records seat by seat and action by action for the counter rules.
class HandBuilder {
public:
    explicit HandBuilder(int seats) {
        for (int s = 0; s < seats; ++s) {
            sHandSeat seat;
            seat.player = s;
            seat.seatNumber = s + 1;
            seat.dealtIn = true;
            m_hand.seats.push_back(seat);
        }
    }
    HandBuilder& Act(int seat, eAction action) {
        sHandEvent event;
        event.kind = eEvent::Act;
        event.action = action;
        event.seat = static_cast<uint8_t>(seat);
        event.street = m_street;
        m_hand.events.push_back(event);
        return *this;
    }
    HandBuilder& Deal() {
        ++m_street;
        return Event(eEvent::DealStreet, 0);
    }
    HandBuilder& Event(eEvent kind, int seat) {
        sHandEvent event;
        event.kind = kind;
        event.seat = static_cast<uint8_t>(seat);
        event.street = m_street;
        m_hand.events.push_back(event);
        return *this;
    }
    std::vector<sSeatCounters> Counters() const {
        std::vector<sSeatCounters> out;
        ComputeHandCounters(m_hand, out);
        return out;
    }

private:
    sHandRecord m_hand;
    uint8_t m_street = HS_PREFLOP;
};

using A = eAction;

TEST(SimCounterTruth, WalkCountsTheFoldersButNotTheBigBlind) {
    const auto c = HandBuilder(3).Act(2, A::Fold).Act(0, A::Fold).Event(eEvent::Wins, 1).Counters();
    EXPECT_TRUE(c[0].counted);
    EXPECT_TRUE(c[2].counted);
    EXPECT_FALSE(c[1].counted);
    EXPECT_EQ(c[1].add[CNT_HANDS], 0);
    EXPECT_EQ(c[0].add[CNT_PFNO3BET], 0) << "no raise, no three-bet chance";
}

TEST(SimCounterTruth, ThreeBetChainFollowsTheRaiseOrder) {
    // Seat 0 opens, seat 2 three-bets, seat 0 folds; seat 1 folded before anything happened.
    auto c = HandBuilder(4)
                 .Act(1, A::Fold)
                 .Act(0, A::Raise)
                 .Act(2, A::Raise)
                 .Act(3, A::Fold)
                 .Act(0, A::Fold)
                 .Counters();
    EXPECT_EQ(c[0].add[CNT_PFR], 1);
    EXPECT_EQ(c[0].add[CNT_PFFOLDTO3BET], 1);
    EXPECT_EQ(c[2].add[CNT_PF3BET], 1);
    EXPECT_EQ(c[2].add[CNT_PFR], 1);
    for (const int seat : {1, 3}) {
        EXPECT_EQ(c[seat].add[CNT_PFNO3BET], 0);
        EXPECT_EQ(c[seat].add[CNT_PFNOFOLDTO3BET], 0);
    }

    // The opener calls instead, and a four-bet by the opener makes the three-bettor fold.
    c = HandBuilder(3).Act(0, A::Raise).Act(1, A::Raise).Act(2, A::Fold).Act(0, A::Call).Counters();
    EXPECT_EQ(c[0].add[CNT_PFNOFOLDTO3BET], 1);
    c = HandBuilder(3)
            .Act(0, A::Raise)
            .Act(1, A::Raise)
            .Act(2, A::Fold)
            .Act(0, A::Raise)
            .Act(1, A::Fold)
            .Counters();
    EXPECT_EQ(c[1].add[CNT_PFFOLDTO3BET], 1);
    EXPECT_EQ(c[0].add[CNT_PFNOFOLDTO3BET], 1);

    // A single raise: every other counted seat had a three-bet chance, folded or not.
    c = HandBuilder(3).Act(2, A::Fold).Act(0, A::Raise).Act(1, A::Call).Counters();
    EXPECT_EQ(c[2].add[CNT_PFNO3BET], 1);
    EXPECT_EQ(c[1].add[CNT_PFNO3BET], 1);
    EXPECT_EQ(c[0].add[CNT_PFNO3BET], 0);
}

TEST(SimCounterTruth, StreetActionsAreNormalisedAndContinuationBetsChain) {
    const auto c = HandBuilder(2)
                       .Act(1, A::Raise)
                       .Act(0, A::Call)
                       .Deal()  // flop: c-bet, check-raise, call
                       .Act(0, A::Check)
                       .Act(1, A::Bet)
                       .Act(0, A::Raise)
                       .Act(1, A::Call)
                       .Deal()  // turn: the aggressor checks
                       .Act(0, A::Check)
                       .Act(1, A::Check)
                       .Deal()  // river: no c-bet counters without a turn c-bet
                       .Act(0, A::Bet)
                       .Act(1, A::Fold)
                       .Event(eEvent::Wins, 0)
                       .Counters();
    EXPECT_EQ(c[1].add[CNT_FLOPCBET], 1);
    EXPECT_EQ(c[1].add[CNT_FLOPBET], 1);
    EXPECT_EQ(c[1].add[CNT_FLOPCALL], 1);
    EXPECT_EQ(c[0].add[CNT_FLOPRAISECBET], 1);
    EXPECT_EQ(c[0].add[CNT_FLOPRAISE], 1);
    EXPECT_EQ(c[0].add[CNT_FLOPCHECK], 0) << "a check followed by a raise is not a check";
    EXPECT_EQ(c[1].add[CNT_TURNNOCBET], 1);
    EXPECT_EQ(c[1].add[CNT_TURNCHECK], 1);
    EXPECT_EQ(c[1].add[CNT_RIVERNOCBET] + c[1].add[CNT_RIVERCBET], 0);
    EXPECT_EQ(c[1].add[CNT_RIVERFOLD], 1);
    EXPECT_EQ(c[0].add[CNT_RIVERFOLDTOCBET], 0);
    EXPECT_EQ(c[0].add[CNT_WONSHOWDOWN], 0) << "won without a showdown";
    EXPECT_EQ(c[0].add[CNT_SAWFLOP], 1);
}

TEST(SimCounterTruth, AllInPreflopShowdownCountsSawFlopAndShowdownOnly) {
    HandBuilder hand(3);
    hand.Act(2, A::Fold).Act(0, A::Raise).Act(1, A::Call);
    hand.Event(eEvent::Shows, 0).Event(eEvent::Shows, 1);
    hand.Deal().Deal().Deal();
    const auto c =
        hand.Event(eEvent::Has, 0).Event(eEvent::Has, 1).Event(eEvent::Wins, 1).Counters();
    EXPECT_EQ(c[0].add[CNT_SAWFLOP], 1);
    EXPECT_EQ(c[0].add[CNT_SHOWDOWN], 1);
    EXPECT_EQ(c[0].add[CNT_WONSHOWDOWN], 0);
    EXPECT_EQ(c[1].add[CNT_WONSHOWDOWN], 1);
    EXPECT_EQ(c[0].add[CNT_FLOPCHECK] + c[0].add[CNT_FLOPNOCBET], 0) << "no flop action";
    EXPECT_EQ(c[2].add[CNT_SAWFLOP], 0);
}

}  // namespace
