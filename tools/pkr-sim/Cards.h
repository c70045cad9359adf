// Playing cards, the shuffled deck and the best-hand evaluation used to settle showdowns and to
// give simulated players a sense of their hand's strength.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "Rng.h"

namespace pkrsim {

// rank 0..12 stands for 2..Ace, suit 0..3 for clubs, diamonds, hearts, spades.
using Card = uint8_t;
constexpr Card MakeCard(int rank, int suit) {
    return static_cast<Card>(rank * 4 + suit);
}
constexpr int CardRank(Card card) {
    return card / 4;
}
constexpr int CardSuit(Card card) {
    return card % 4;
}

class CDeck {
public:
    void Shuffle(CRng& rng) noexcept;
    Card Deal() noexcept { return m_cards[m_next++]; }

private:
    Card m_cards[52] = {};
    int m_next = 0;
};

// Appends a card as the client writes it: "[Qs]" in the earlier format, "[Q s]" in the later.
void AppendCard(std::string& out, Card card, bool laterFormat);

// Hand values compare as plain integers (higher wins). The category sits in the top bits and
// the deciding ranks below it, most significant first.
enum eHandCategory : int {
    HAND_HIGH_CARD = 0,
    HAND_ONE_PAIR,
    HAND_TWO_PAIRS,
    HAND_THREE_OF_A_KIND,
    HAND_STRAIGHT,
    HAND_FLUSH,
    HAND_FULL_HOUSE,
    HAND_FOUR_OF_A_KIND,
    HAND_STRAIGHT_FLUSH,
};
constexpr int HandCategory(uint32_t value) {
    return static_cast<int>(value >> 20);
}

// Best five-card value among 5 to 7 cards (hold'em: hole cards plus board).
uint32_t EvaluateBest(const Card* cards, int count) noexcept;
// Omaha: exactly two of the four hole cards with exactly three of the board (3 to 5 cards).
uint32_t EvaluateOmaha(std::span<const Card, 4> hole, std::span<const Card> board) noexcept;

// The client's wording of a hand value, e.g. "Two Pairs: Queens, 4s" or "Straight, 5 high".
void AppendHandDescription(std::string& out, uint32_t value);

}  // namespace pkrsim
