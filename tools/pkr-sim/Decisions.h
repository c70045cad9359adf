// How a simulated player chooses between giving up, going along and pushing, from his style,
// the strength of his cards and the situation. Amounts are the hand engine's business.
#pragma once

#include "Cards.h"
#include "PlayerPool.h"
#include "Rng.h"

namespace pkrsim {

enum class eChoice {
    Fold,
    Passive,
    Aggressive
};  // passive = check or call; aggressive = bet or raise

struct sSituation {
    int street = 0;          // 0 preflop, 1 flop, 2 turn, 3 river
    bool facingBet = false;  // false: he may check
    bool mayRaise = true;
    int raisesSoFar = 0;       // preflop: raises made; after the flop: bets and raises this street
    bool isAggressor = false;  // made the last raise before the flop
    bool keepsInitiative = false;  // and has bet every street since
    bool checkedThisStreet = false;
    bool facingContiBet = false;  // the bet he faces is the preflop aggressor's first bet here
    double strength = 0.5;        // 0..1, see PreflopStrength / PostflopStrength
};

eChoice Decide(const sSituation& situation, const sPlayerStyle& style, CRng& rng);

// Rough strength of the hole cards before the flop (two cards hold'em, four omaha), 0..1.
double PreflopStrength(const Card* hole, bool omaha);
// Strength of the made hand on the board so far, discounting what the board alone makes.
double PostflopStrength(const Card* hole, const Card* board, int boardCount, bool omaha);

}  // namespace pkrsim
