#include "HandEngine.h"

#include <algorithm>

#include "Decisions.h"

namespace pkrsim {

namespace {

constexpr int kBoardCountOfStreet[] = {0, 3, 4, 5};

}  // namespace

void CHandEngine::PlayHand(sTableState& table, uint32_t handNumber, sHandRecord& record) {
    m_table = &table;
    m_record = &record;
    SetUp(table, handNumber);
    PostBlinds();
    BettingRound(HS_PREFLOP);

    bool cardsShown = false;
    for (const eHandStreet street : {HS_FLOP, HS_TURN, HS_RIVER}) {
        if (NonFoldedCount() == 1) {
            break;
        }
        if (CanActCount() < 2 && !cardsShown) {
            // All-in with no more betting possible: the hands are turned up before the board
            // is run out.
            for (int i = 0; i < static_cast<int>(m_live.size()); ++i) {
                if (!m_live[i].folded) {
                    Emit(eEvent::Shows, i);
                }
            }
            cardsShown = true;
        }
        DealStreet(street);
        if (CanActCount() >= 2) {
            BettingRound(street);
        } else {
            Emit(eEvent::PotSizes, 0, PotTotal());
        }
    }

    if (NonFoldedCount() == 1) {
        AwardUncontested();
    } else {
        ShowDown(cardsShown);
    }
    Settle();
}

void CHandEngine::SetUp(sTableState& table, uint32_t handNumber) {
    sHandRecord& record = *m_record;
    record.Clear();
    record.handNumber = handNumber;
    record.lastHandNumber = table.lastHandNumber;
    record.startTime = table.clock;
    record.smallBlind = table.smallBlind;
    record.bigBlind = table.bigBlind;
    record.previousButton = table.buttonSeat;
    m_omaha = table.config.game == GAME_OMAHA;

    std::vector<int> dealt;  // record seat indices, ascending seat numbers
    for (size_t i = 0; i < table.seats.size(); ++i) {
        const sTableSeat& seat = table.seats[i];
        if (seat.player < 0) {
            continue;
        }
        sHandSeat handSeat;
        handSeat.player = seat.player;
        handSeat.seatNumber = table.config.seatNumbers[i];
        handSeat.dealtIn = !seat.away;
        handSeat.stackBefore = seat.stack;
        handSeat.stackAfter = seat.stack;
        if (handSeat.dealtIn) {
            dealt.push_back(static_cast<int>(record.seats.size()));
        }
        record.seats.push_back(handSeat);
    }

    // The button moves to the next seat dealt in after the last hand's button.
    size_t buttonAt = 0;
    for (size_t k = 0; k < dealt.size(); ++k) {
        if (record.seats[dealt[k]].seatNumber > table.buttonSeat) {
            buttonAt = k;
            break;
        }
    }
    record.button = record.seats[dealt[buttonAt]].seatNumber;

    m_deck.Shuffle(table.rng);
    m_live.clear();
    const size_t n = dealt.size();
    for (size_t k = 1; k <= n; ++k) {
        sLive live;
        live.seat = dealt[(buttonAt + k) % n];
        sHandSeat& seat = record.seats[live.seat];
        live.stack = seat.stackBefore;
        for (int c = 0; c < (m_omaha ? 4 : 2); ++c) {
            seat.hole[c] = m_deck.Deal();
        }
        live.preflopStrength = PreflopStrength(seat.hole, m_omaha);
        m_live.push_back(live);
    }
    for (Card& card : record.board) {
        card = m_deck.Deal();
    }
    m_street = HS_PREFLOP;
    m_boardCount = 0;
    m_preflopRaises = 0;
    m_aggressor = -1;
    m_aggressorKeepsInitiative = false;
    m_aggressorBetThisStreet = false;
}

void CHandEngine::PostBlinds() {
    // Heads-up the button posts the small blind.
    const bool headsUp = m_live.size() == 2;
    const int smallBlind = headsUp ? 1 : 0;
    const int bigBlind = headsUp ? 0 : 1;
    const int64_t amounts[2] = {m_record->smallBlind, m_record->bigBlind};
    const int posters[2] = {smallBlind, bigBlind};
    for (int k = 0; k < 2; ++k) {
        sLive& live = m_live[posters[k]];
        const int64_t amount = std::min(amounts[k], live.stack);
        live.stack -= amount;
        live.streetBet = amount;
        live.totalIn = amount;
        live.allIn = live.stack == 0;
        Emit(k == 0 ? eEvent::PostSmallBlind : eEvent::PostBigBlind, posters[k], amount);
    }
}

void CHandEngine::BettingRound(eHandStreet street) {
    const int n = static_cast<int>(m_live.size());
    if (street == HS_PREFLOP) {
        m_currentBet = m_record->bigBlind;
        m_streetRaises = 1;
    } else {
        m_currentBet = 0;
        m_streetRaises = 0;
        for (sLive& live : m_live) {
            live.streetBet = 0;
        }
        m_aggressorKeepsInitiative = street == HS_FLOP
                                         ? m_aggressor >= 0
                                         : m_aggressorKeepsInitiative && m_aggressorBetThisStreet;
        m_aggressorBetThisStreet = false;
    }
    m_lastRaise = m_record->bigBlind;
    m_lastBettor = -1;
    m_callersThisStreet = 0;
    for (sLive& live : m_live) {
        live.mustAct = !live.folded && !live.allIn;
        live.checkedThisStreet = false;
    }

    int i = street == HS_PREFLOP ? (n == 2 ? 1 : 2 % n) : 0;
    while (NonFoldedCount() > 1) {
        int k = 0;
        while (k < n && !m_live[(i + k) % n].mustAct) {
            ++k;
        }
        if (k == n) {
            break;
        }
        i = (i + k) % n;
        Act(i, street);
        i = (i + 1) % n;
    }
    ReturnUncalled();
    Emit(eEvent::PotSizes, 0, PotTotal());
}

void CHandEngine::Act(int index, eHandStreet street) {
    sLive& me = m_live[index];
    me.mustAct = false;
    const int64_t toCall = m_currentBet - me.streetBet;
    int opponentsWhoCanAct = 0;
    for (int j = 0; j < static_cast<int>(m_live.size()); ++j) {
        if (j != index && !m_live[j].folded && !m_live[j].allIn) {
            ++opponentsWhoCanAct;
        }
    }
    if (toCall <= 0 && opponentsWhoCanAct == 0) {
        return;  // nobody left to bet against
    }

    const int raiseCap = m_table->config.betting == eBetting::FixedLimit ? 4 : 6;
    sSituation situation;
    situation.street = street;
    situation.facingBet = toCall > 0;
    situation.mayRaise = opponentsWhoCanAct > 0 && me.stack > toCall && m_streetRaises < raiseCap;
    situation.raisesSoFar = street == HS_PREFLOP ? m_preflopRaises : m_streetRaises;
    situation.isAggressor = index == m_aggressor;
    situation.keepsInitiative = m_aggressorKeepsInitiative;
    situation.checkedThisStreet = me.checkedThisStreet;
    situation.facingContiBet = street != HS_PREFLOP && m_aggressorKeepsInitiative &&
                               m_lastBettor == m_aggressor && m_streetRaises == 1;
    situation.strength = Strength(me, street);
    const sPlayerStyle& style = m_pool.Style(m_record->seats[me.seat].player);
    eChoice choice = Decide(situation, style, m_table->rng);
    if (choice == eChoice::Fold && toCall <= 0) {
        choice = eChoice::Passive;  // nobody folds when he may check
    }

    int64_t target = 0;
    if (choice == eChoice::Aggressive) {
        target = std::min(RaiseTarget(me, street), me.streetBet + me.stack);
        if (target <= m_currentBet) {
            choice = eChoice::Passive;  // too short to raise: he calls all-in
        }
    }

    switch (choice) {
        case eChoice::Fold:
            me.folded = true;
            EmitAction(index, eAction::Fold);
            return;
        case eChoice::Passive:
            if (toCall <= 0) {
                me.checkedThisStreet = true;
                EmitAction(index, eAction::Check);
            } else {
                const int64_t paid = std::min(toCall, me.stack);
                me.stack -= paid;
                me.streetBet += paid;
                me.totalIn += paid;
                me.allIn = me.stack == 0;
                ++m_callersThisStreet;
                EmitAction(index, eAction::Call);
            }
            return;
        case eChoice::Aggressive:
            break;
    }

    const int64_t paid = target - me.streetBet;
    me.stack -= paid;
    me.streetBet = target;
    me.totalIn += paid;
    me.allIn = me.stack == 0;
    const eAction action = m_currentBet == 0 ? eAction::Bet : eAction::Raise;
    m_lastRaise = std::max(m_lastRaise, target - m_currentBet);
    m_currentBet = target;
    ++m_streetRaises;
    m_lastBettor = index;
    if (street == HS_PREFLOP) {
        ++m_preflopRaises;
        m_aggressor = index;
    } else if (index == m_aggressor) {
        m_aggressorBetThisStreet = true;
    }
    for (int j = 0; j < static_cast<int>(m_live.size()); ++j) {
        if (j != index && !m_live[j].folded && !m_live[j].allIn) {
            m_live[j].mustAct = true;
        }
    }
    EmitAction(index, action);
}

int64_t CHandEngine::RaiseTarget(const sLive& me, eHandStreet street) {
    const int64_t bigBlind = m_record->bigBlind;
    const eBetting betting = m_table->config.betting;
    if (betting == eBetting::FixedLimit) {
        return m_currentBet + (street >= HS_TURN ? 2 * bigBlind : bigBlind);
    }
    CRng& rng = m_table->rng;
    const int64_t pot = PotTotal();
    const int64_t allIn = me.streetBet + me.stack;
    double target = 0;
    if (m_currentBet == 0) {
        target = static_cast<double>(pot) * rng.Real(0.4, 1.0);
    } else if (street == HS_PREFLOP) {
        if (m_preflopRaises == 0) {
            target = static_cast<double>(bigBlind * (rng.Between(2, 4) + m_callersThisStreet));
        } else if (m_preflopRaises == 1) {
            target = static_cast<double>(m_currentBet) * rng.Real(2.8, 3.6);
        } else if (m_preflopRaises == 2) {
            target = static_cast<double>(m_currentBet) * rng.Real(2.1, 2.6);
        } else {
            target = static_cast<double>(allIn);
        }
    } else {
        target = static_cast<double>(m_currentBet) * rng.Real(2.4, 3.2);
    }
    int64_t amount = RoundAmount(static_cast<int64_t>(target));
    amount = std::max({amount, m_currentBet + m_lastRaise, bigBlind});
    if (betting == eBetting::PotLimit) {
        const int64_t toCall = m_currentBet - me.streetBet;
        amount = std::min(amount, m_currentBet + pot + toCall);
    } else if (amount * 10 > allIn * 7) {
        amount = allIn;  // committing most of the stack anyway: he moves in
    }
    return amount;
}

void CHandEngine::ReturnUncalled() {
    int top = -1;
    int64_t topBet = 0;
    int64_t secondBet = 0;
    for (int i = 0; i < static_cast<int>(m_live.size()); ++i) {
        const int64_t bet = m_live[i].streetBet;
        if (bet > topBet) {
            secondBet = topBet;
            topBet = bet;
            top = i;
        } else if (bet > secondBet) {
            secondBet = bet;
        }
    }
    if (top < 0 || topBet == secondBet) {
        return;
    }
    sLive& live = m_live[top];
    const int64_t excess = topBet - secondBet;
    live.streetBet -= excess;
    live.totalIn -= excess;
    live.stack += excess;
    live.allIn = live.stack == 0;
    Emit(eEvent::ReturnUncalled, top, excess);
}

void CHandEngine::DealStreet(eHandStreet street) {
    m_street = street;
    m_boardCount = kBoardCountOfStreet[street];
    Emit(eEvent::DealStreet, 0);
}

void CHandEngine::Emit(eEvent kind, int liveIndex, int64_t amount) {
    sHandEvent event;
    event.kind = kind;
    event.street = static_cast<uint8_t>(m_street);
    event.seat = static_cast<uint8_t>(m_live[liveIndex].seat);
    event.amount = amount;
    if (kind == eEvent::Has) {
        event.handValue = m_live[liveIndex].handValue;
    }
    m_record->events.push_back(event);
}

void CHandEngine::EmitAction(int liveIndex, eAction action) {
    const sLive& live = m_live[liveIndex];
    Emit(eEvent::Act, liveIndex, live.streetBet);
    sHandEvent& event = m_record->events.back();
    event.action = action;
    event.allIn = live.allIn && action != eAction::Fold && action != eAction::Check;
}

int CHandEngine::NonFoldedCount() const {
    return static_cast<int>(
        std::count_if(m_live.begin(), m_live.end(), [](const sLive& l) { return !l.folded; }));
}

int CHandEngine::CanActCount() const {
    return static_cast<int>(std::count_if(m_live.begin(), m_live.end(),
                                          [](const sLive& l) { return !l.folded && !l.allIn; }));
}

int64_t CHandEngine::PotTotal() const {
    int64_t total = 0;
    for (const sLive& live : m_live) {
        total += live.totalIn;
    }
    return total;
}

int64_t CHandEngine::RoundAmount(int64_t amount) const {
    const int64_t unit = std::max<int64_t>(1, m_record->bigBlind / 20);
    return std::max(unit, (amount + unit / 2) / unit * unit);
}

double CHandEngine::Strength(const sLive& live, eHandStreet street) const {
    if (street == HS_PREFLOP) {
        return live.preflopStrength;
    }
    return PostflopStrength(m_record->seats[live.seat].hole, m_record->board,
                            kBoardCountOfStreet[street], m_omaha);
}

}  // namespace pkrsim
