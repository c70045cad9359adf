#include "Decisions.h"

#include <algorithm>

namespace pkrsim {

namespace {

double Clamp01(double value) {
    return std::clamp(value, 0.0, 1.0);
}

double TwoCardStrength(Card a, Card b) {
    const int hi = std::max(CardRank(a), CardRank(b));
    const int lo = std::min(CardRank(a), CardRank(b));
    double score = 0.35 * hi / 12.0 + 0.25 * lo / 12.0;
    if (hi == lo) {
        score += 0.3 + 0.1 * lo / 12.0;
    }
    if (CardSuit(a) == CardSuit(b)) {
        score += 0.07;
    }
    if (hi - lo == 1 || (hi == 12 && lo == 0)) {
        score += 0.05;
    }
    return Clamp01(score);
}

eChoice Roll(CRng& rng, double aggressive, double passive) {
    const double roll = rng.Real();
    if (roll < aggressive) {
        return eChoice::Aggressive;
    }
    return roll < aggressive + passive ? eChoice::Passive : eChoice::Fold;
}

eChoice DecidePreflop(const sSituation& s, const sPlayerStyle& style, CRng& rng) {
    const double strength = s.strength;
    double raise = 0;
    double call = 0;
    if (s.raisesSoFar == 0) {
        if (!s.facingBet) {  // the big blind after limps: check or raise
            raise = style.aggression * 0.6 * strength * strength;
            call = 1.0;
        } else {
            const double enter = Clamp01(style.looseness * (0.35 + 1.5 * strength));
            raise = enter * Clamp01(style.raiseFirst * (0.6 + 0.8 * strength));
            call = enter - raise;
        }
    } else if (s.raisesSoFar == 1) {
        raise = Clamp01(style.threeBet * (0.3 + 2.0 * strength * strength));
        call = Clamp01(style.looseness * 0.9 * (0.4 + strength));
    } else if (s.raisesSoFar == 2) {
        raise = Clamp01(style.fourBet * strength * strength * 1.2);
        call = Clamp01(style.looseness * 0.7 * (0.2 + strength));
    } else {
        raise = Clamp01(style.fourBet * 0.6 * strength * strength * strength);
        call = Clamp01(0.6 * strength * strength + 0.1 * style.looseness);
    }
    if (!s.mayRaise) {
        call += raise;
        raise = 0;
    }
    return Roll(rng, raise, call);
}

eChoice DecidePostflop(const sSituation& s, const sPlayerStyle& style, CRng& rng) {
    const double strength = s.strength;
    if (!s.facingBet) {
        double bet = style.aggression * (0.25 + 1.1 * strength * strength);
        if (s.isAggressor && s.keepsInitiative) {
            // A continuation bet: mostly style, a little hand.
            const double streetFactor = s.street == 1 ? 1.0 : 0.7;
            bet = Clamp01(style.contiBet * streetFactor * (0.7 + 0.6 * strength));
        }
        if (!s.mayRaise) {
            bet = 0;
        }
        return rng.Chance(bet) ? eChoice::Aggressive : eChoice::Passive;
    }
    double raise = style.aggression * 0.9 * strength * strength * strength;
    if (s.checkedThisStreet) {
        raise += style.checkRaise * (0.3 + strength);
    }
    if (s.raisesSoFar >= 3) {
        raise *= 0.3;
    }
    double fold = Clamp01((1.0 - strength) * (0.7 + style.foldToBet) * (1.2 - style.looseness));
    if (s.facingContiBet) {
        fold = Clamp01(fold * (0.6 + style.foldToBet));
    }
    if (!s.mayRaise) {
        raise = 0;
    }
    raise = Clamp01(raise);
    return Roll(rng, raise, std::max(0.0, 1.0 - raise - fold));
}

}  // namespace

eChoice Decide(const sSituation& situation, const sPlayerStyle& style, CRng& rng) {
    return situation.street == 0 ? DecidePreflop(situation, style, rng)
                                 : DecidePostflop(situation, style, rng);
}

double PreflopStrength(const Card* hole, bool omaha) {
    if (!omaha) {
        return TwoCardStrength(hole[0], hole[1]);
    }
    double best = 0;
    for (int a = 0; a < 4; ++a) {
        for (int b = a + 1; b < 4; ++b) {
            best = std::max(best, TwoCardStrength(hole[a], hole[b]));
        }
    }
    return Clamp01(best * 0.85 + 0.05);
}

double PostflopStrength(const Card* hole, const Card* board, int boardCount, bool omaha) {
    static constexpr double kBase[] = {0.08, 0.38, 0.62, 0.72, 0.8, 0.84, 0.92, 0.97, 0.99};
    uint32_t value = 0;
    if (omaha) {
        value = EvaluateOmaha(std::span<const Card, 4>(hole, 4),
                              {board, static_cast<size_t>(boardCount)});
    } else {
        Card cards[7];
        cards[0] = hole[0];
        cards[1] = hole[1];
        std::copy(board, board + boardCount, cards + 2);
        value = EvaluateBest(cards, boardCount + 2);
    }
    const int category = HandCategory(value);
    double strength = kBase[category];
    const int topRank = static_cast<int>((value >> 16) & 0xF);
    if (category == HAND_HIGH_CARD) {
        strength += 0.08 * topRank / 12.0;
    } else if (category == HAND_ONE_PAIR) {
        int boardTop = 0;
        for (int i = 0; i < boardCount; ++i) {
            boardTop = std::max(boardTop, CardRank(board[i]));
        }
        strength += topRank >= boardTop ? 0.15 : 0.05 * topRank / 12.0;
    }
    // A hand the board makes by itself is worth little to its holder.
    if (category == HandCategory(EvaluateBest(board, boardCount)) && category < HAND_STRAIGHT) {
        strength = std::min(strength, 0.2);
    }
    if (omaha) {
        strength *= 0.9;  // four hole cards make strong hands common
    }
    return Clamp01(strength);
}

}  // namespace pkrsim
