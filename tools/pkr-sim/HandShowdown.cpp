// The end of a hand: the uncontested pot or the showdown with its side pots, and the stacks,
// button and clock handed back to the table.
#include <algorithm>

#include "HandEngine.h"

namespace pkrsim {

void CHandEngine::AwardUncontested() {
    const int winner = static_cast<int>(
        std::find_if(m_live.begin(), m_live.end(), [](const sLive& l) { return !l.folded; }) -
        m_live.begin());
    const int64_t pot = PotTotal();
    const int64_t rake = Rake();
    if (rake > 0) {
        Emit(eEvent::Rake, winner, rake);
    }
    if (m_table->rng.Chance(0.35)) {
        Emit(eEvent::DoesNotShow, winner);
    }
    Emit(eEvent::Wins, winner, pot - rake);
    m_live[winner].stack += pot - rake;
}

void CHandEngine::ShowDown(bool cardsAlreadyShown) {
    const sHandRecord& record = *m_record;
    const int n = static_cast<int>(m_live.size());
    for (sLive& live : m_live) {
        if (live.folded) {
            continue;
        }
        const Card* hole = record.seats[live.seat].hole;
        if (m_omaha) {
            live.handValue = EvaluateOmaha(std::span<const Card, 4>(hole, 4), record.board);
        } else {
            Card cards[7] = {hole[0], hole[1]};
            std::copy(record.board, record.board + 5, cards + 2);
            live.handValue = EvaluateBest(cards, 7);
        }
    }
    const int64_t rake = Rake();
    if (rake > 0) {
        Emit(eEvent::Rake, 0, rake);
    }

    if (cardsAlreadyShown) {
        for (int i = 0; i < n; ++i) {
            if (!m_live[i].folded) {
                Emit(eEvent::Has, i);
            }
        }
    } else {
        // The last river bettor shows first, else the first player left of the button. A
        // beaten player may muck, but only when there is a single pot he could not win anyway.
        bool singlePot = true;
        int64_t committed = -1;
        for (const sLive& live : m_live) {
            if (!live.folded) {
                singlePot = singlePot && (committed < 0 || live.totalIn == committed);
                committed = live.totalIn;
            }
        }
        const int start = m_lastBettor >= 0 && !m_live[m_lastBettor].folded ? m_lastBettor : 0;
        uint32_t best = 0;
        bool first = true;
        for (int k = 0; k < n; ++k) {
            sLive& live = m_live[(start + k) % n];
            if (live.folded) {
                continue;
            }
            const sPlayerStyle& style = m_pool.Style(record.seats[live.seat].player);
            const int index = (start + k) % n;
            if (!first && singlePot && live.handValue < best &&
                m_table->rng.Chance(style.muckLosers)) {
                live.mucked = true;
                Emit(eEvent::Mucks, index);
            } else {
                Emit(eEvent::Shows, index);
                Emit(eEvent::Has, index);
                best = std::max(best, live.handValue);
            }
            first = false;
        }
    }
    AwardPots(rake);
}

void CHandEngine::AwardPots(int64_t rake) {
    std::vector<int64_t> levels;
    for (const sLive& live : m_live) {
        if (!live.folded) {
            levels.push_back(live.totalIn);
        }
    }
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());

    const int n = static_cast<int>(m_live.size());
    int64_t previous = 0;
    int potIndex = 0;
    std::vector<int> winners;
    for (const int64_t level : levels) {
        int64_t amount = 0;
        for (const sLive& live : m_live) {
            amount += std::min(live.totalIn, level) - std::min(live.totalIn, previous);
        }
        if (potIndex == 0) {
            amount -= rake;
        }
        uint32_t best = 0;
        int contenders = 0;
        winners.clear();
        for (int i = 0; i < n; ++i) {
            const sLive& live = m_live[i];
            if (live.folded || live.mucked || live.totalIn < level) {
                continue;
            }
            ++contenders;
            if (winners.empty() || live.handValue > best) {
                winners.assign(1, i);
                best = live.handValue;
            } else if (live.handValue == best) {
                winners.push_back(i);
            }
        }
        // Every pot has a contender: the first player to show never mucks.
        const auto count = static_cast<int64_t>(std::max<size_t>(winners.size(), 1));
        const int64_t share = amount / count;
        int64_t remainder = amount - share * count;
        for (int winner : winners) {
            const int64_t won = share + remainder;
            remainder = 0;
            m_live[winner].stack += won;
            Emit(eEvent::Wins, winner, won);
            sHandEvent& event = m_record->events.back();
            event.pot = static_cast<uint8_t>(potIndex);
            event.withHand = contenders >= 2;
            event.handValue = m_live[winner].handValue;
        }
        previous = level;
        ++potIndex;
    }
}

void CHandEngine::Settle() {
    sTableState& table = *m_table;
    sHandRecord& record = *m_record;
    for (const sLive& live : m_live) {
        record.seats[live.seat].stackAfter = live.stack;
    }
    for (size_t i = 0, s = 0; i < table.seats.size(); ++i) {
        if (table.seats[i].player >= 0) {
            table.seats[i].stack = record.seats[s++].stackAfter;
        }
    }
    table.buttonSeat = record.button;
    table.lastHandNumber = record.handNumber;
    ++table.handsPlayed;
    table.clock += table.rng.Between(20, 90) + 6 * static_cast<int64_t>(m_live.size());
}

// Real-money ring games take 5% of a pot that saw a flop, at most three big blinds.
int64_t CHandEngine::Rake() const {
    if (m_table->config.money != eMoney::Real || m_boardCount < 3) {
        return 0;
    }
    return std::min(PotTotal() * 5 / 100, 3 * m_record->bigBlind);
}

}  // namespace pkrsim
