// Plays one hand at a table: blinds, the betting rounds with each player's decisions, the
// board, all-ins with side pots, the showdown and the pot awards. The result is the hand's
// event record; the table's stacks and button are updated.
#pragma once

#include <cstdint>
#include <vector>

#include "Cards.h"
#include "HandRecord.h"
#include "PlayerPool.h"
#include "TableState.h"

namespace pkrsim {

class CHandEngine {
public:
    explicit CHandEngine(const CPlayerPool& pool) : m_pool(pool) {}

    // Plays the next hand of `table` under `handNumber` into `record` (cleared first).
    void PlayHand(sTableState& table, uint32_t handNumber, sHandRecord& record);

private:
    // A player dealt into the current hand, in clockwise order from the seat after the button.
    struct sLive {
        int seat = 0;  // index into record.seats
        int64_t stack = 0;
        int64_t streetBet = 0;
        int64_t totalIn = 0;
        bool folded = false;
        bool allIn = false;
        bool mustAct = false;
        bool checkedThisStreet = false;
        bool mucked = false;
        double preflopStrength = 0;
        uint32_t handValue = 0;
    };

    void SetUp(sTableState& table, uint32_t handNumber);
    void PostBlinds();
    void BettingRound(eHandStreet street);
    void Act(int index, eHandStreet street);
    void ReturnUncalled();
    void DealStreet(eHandStreet street);
    // The end of the hand (HandShowdown.cpp).
    void AwardUncontested();
    void ShowDown(bool cardsAlreadyShown);
    void AwardPots(int64_t rake);
    void Settle();  // stacks, button and clock back to the table

    void Emit(eEvent kind, int liveIndex, int64_t amount = 0);
    void EmitAction(int liveIndex, eAction action);
    [[nodiscard]] int NonFoldedCount() const;
    [[nodiscard]] int CanActCount() const;
    [[nodiscard]] int64_t PotTotal() const;
    [[nodiscard]] int64_t RoundAmount(int64_t amount) const;
    [[nodiscard]] int64_t RaiseTarget(const sLive& me, eHandStreet street);
    [[nodiscard]] double Strength(const sLive& live, eHandStreet street) const;
    [[nodiscard]] int64_t Rake() const;

    const CPlayerPool& m_pool;
    sTableState* m_table = nullptr;
    sHandRecord* m_record = nullptr;
    CDeck m_deck;
    std::vector<sLive> m_live;
    bool m_omaha = false;
    int m_street = 0;
    int m_boardCount = 0;
    int64_t m_currentBet = 0;
    int64_t m_lastRaise = 0;
    int m_streetRaises = 0;  // bets and raises this street (the big blind counts as the bet)
    int m_preflopRaises = 0;
    int m_aggressor = -1;                     // live index of the last preflop raiser
    bool m_aggressorKeepsInitiative = false;  // he has bet every street after the flop so far
    bool m_aggressorBetThisStreet = false;
    int m_lastBettor = -1;  // live index of this street's last bet or raise
    int m_callersThisStreet = 0;
};

}  // namespace pkrsim
