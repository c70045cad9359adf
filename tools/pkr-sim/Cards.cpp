#include "Cards.h"

#include <algorithm>

namespace pkrsim {

namespace {

constexpr char kRankLetters[] = "23456789TJQKA";
constexpr char kSuitLetters[] = "cdhs";
constexpr const char* kRankNames[] = {"2", "3",   "4",    "5",     "6",    "7",  "8",
                                      "9", "Ten", "Jack", "Queen", "King", "Ace"};
constexpr const char* kRankPlurals[] = {"2s", "3s",   "4s",    "5s",     "6s",    "7s",  "8s",
                                        "9s", "Tens", "Jacks", "Queens", "Kings", "Aces"};

constexpr uint32_t Pack(int category, int r0, int r1 = 0, int r2 = 0, int r3 = 0, int r4 = 0) {
    return (static_cast<uint32_t>(category) << 20) | (static_cast<uint32_t>(r0) << 16) |
           (static_cast<uint32_t>(r1) << 12) | (static_cast<uint32_t>(r2) << 8) |
           (static_cast<uint32_t>(r3) << 4) | static_cast<uint32_t>(r4);
}

// Highest straight in a 13-bit rank mask (bit r = rank r present), as the rank of its top card;
// -1 when there is none. The ace also plays low (5-high straight).
int StraightTop(uint32_t mask) {
    const uint32_t withLowAce = (mask << 1) | ((mask >> 12) & 1u);
    for (int top = 13; top >= 4; --top) {
        if (((withLowAce >> (top - 4)) & 0x1Fu) == 0x1Fu) {
            return top - 1;
        }
    }
    return -1;
}

// The `count` highest ranks of a mask, most significant first.
int TopRanks(uint32_t mask, int count, int* out) {
    int found = 0;
    for (int rank = 12; rank >= 0 && found < count; --rank) {
        if (mask & (1u << rank)) {
            out[found++] = rank;
        }
    }
    return found;
}

}  // namespace

void CDeck::Shuffle(CRng& rng) noexcept {
    for (int i = 0; i < 52; ++i) {
        m_cards[i] = static_cast<Card>(i);
    }
    for (int i = 51; i > 0; --i) {
        std::swap(m_cards[i], m_cards[rng.Below(static_cast<uint32_t>(i + 1))]);
    }
    m_next = 0;
}

void AppendCard(std::string& out, Card card, bool laterFormat) {
    out += '[';
    out += kRankLetters[CardRank(card)];
    if (laterFormat) {
        out += ' ';
    }
    out += kSuitLetters[CardSuit(card)];
    out += ']';
}

uint32_t EvaluateBest(const Card* cards, int count) noexcept {
    int rankCounts[13] = {};
    int suitCounts[4] = {};
    uint32_t suitMasks[4] = {};
    uint32_t rankMask = 0;
    for (int i = 0; i < count; ++i) {
        const int rank = CardRank(cards[i]);
        ++rankCounts[rank];
        ++suitCounts[CardSuit(cards[i])];
        suitMasks[CardSuit(cards[i])] |= 1u << rank;
        rankMask |= 1u << rank;
    }

    for (int suit = 0; suit < 4; ++suit) {
        const uint32_t suitMask = suitMasks[suit];
        if (suitCounts[suit] >= 5) {
            const int top = StraightTop(suitMask);
            if (top >= 0) {
                return Pack(HAND_STRAIGHT_FLUSH, top);
            }
            int r[5];
            TopRanks(suitMask, 5, r);
            return Pack(HAND_FLUSH, r[0], r[1], r[2], r[3], r[4]);
        }
    }

    int quads = -1;
    int trips[2] = {-1, -1};
    int pairs[3] = {-1, -1, -1};
    int tripCount = 0;
    int pairCount = 0;
    for (int rank = 12; rank >= 0; --rank) {
        if (rankCounts[rank] == 4) {
            quads = rank;
        } else if (rankCounts[rank] == 3 && tripCount < 2) {
            trips[tripCount++] = rank;
        } else if (rankCounts[rank] == 2 && pairCount < 3) {
            pairs[pairCount++] = rank;
        }
    }
    if (quads >= 0) {
        int kicker[1] = {};
        TopRanks(rankMask & ~(1u << quads), 1, kicker);
        return Pack(HAND_FOUR_OF_A_KIND, quads, kicker[0]);
    }
    if (tripCount > 0 && (tripCount > 1 || pairCount > 0)) {
        const int pair = tripCount > 1 ? std::max(trips[1], pairs[0]) : pairs[0];
        return Pack(HAND_FULL_HOUSE, trips[0], pair);
    }
    const int straightTop = StraightTop(rankMask);
    if (straightTop >= 0) {
        return Pack(HAND_STRAIGHT, straightTop);
    }
    int k[5] = {};
    if (tripCount > 0) {
        TopRanks(rankMask & ~(1u << trips[0]), 2, k);
        return Pack(HAND_THREE_OF_A_KIND, trips[0], k[0], k[1]);
    }
    if (pairCount >= 2) {
        TopRanks(rankMask & ~(1u << pairs[0]) & ~(1u << pairs[1]), 1, k);
        return Pack(HAND_TWO_PAIRS, pairs[0], pairs[1], k[0]);
    }
    if (pairCount == 1) {
        TopRanks(rankMask & ~(1u << pairs[0]), 3, k);
        return Pack(HAND_ONE_PAIR, pairs[0], k[0], k[1], k[2]);
    }
    TopRanks(rankMask, 5, k);
    return Pack(HAND_HIGH_CARD, k[0], k[1], k[2], k[3], k[4]);
}

uint32_t EvaluateOmaha(std::span<const Card, 4> hole, std::span<const Card> board) noexcept {
    const auto boardCount = static_cast<int>(board.size());
    uint32_t best = 0;
    Card five[5];
    for (int a = 0; a < 4; ++a) {
        for (int b = a + 1; b < 4; ++b) {
            five[0] = hole[a];
            five[1] = hole[b];
            for (int x = 0; x < boardCount; ++x) {
                for (int y = x + 1; y < boardCount; ++y) {
                    for (int z = y + 1; z < boardCount; ++z) {
                        five[2] = board[x];
                        five[3] = board[y];
                        five[4] = board[z];
                        best = std::max(best, EvaluateBest(five, 5));
                    }
                }
            }
        }
    }
    return best;
}

void AppendHandDescription(std::string& out, uint32_t value) {
    const int r0 = static_cast<int>((value >> 16) & 0xF);
    const int r1 = static_cast<int>((value >> 12) & 0xF);
    switch (HandCategory(value)) {
        case HAND_HIGH_CARD:
            out += "High Card: ";
            out += kRankNames[r0];
            break;
        case HAND_ONE_PAIR:
            out += "One Pair: ";
            out += kRankPlurals[r0];
            break;
        case HAND_TWO_PAIRS:
            out += "Two Pairs: ";
            out += kRankPlurals[r0];
            out += ", ";
            out += kRankPlurals[r1];
            break;
        case HAND_THREE_OF_A_KIND:
            out += "Three of a Kind: ";
            out += kRankPlurals[r0];
            break;
        case HAND_STRAIGHT:
            out += "Straight, ";
            out += kRankNames[r0];
            out += " high";
            break;
        case HAND_FLUSH:
            out += "Flush, ";
            out += kRankNames[r0];
            out += " high";
            break;
        case HAND_FULL_HOUSE:
            out += "Full House: ";
            out += kRankPlurals[r0];
            out += " full of ";
            out += kRankPlurals[r1];
            break;
        case HAND_FOUR_OF_A_KIND:
            out += "Four of a Kind: ";
            out += kRankPlurals[r0];
            break;
        default:
            if (r0 == 12) {
                out += "Royal Flush";
            } else {
                out += "Straight Flush, ";
                out += kRankNames[r0];
                out += " high";
            }
            break;
    }
}

}  // namespace pkrsim
