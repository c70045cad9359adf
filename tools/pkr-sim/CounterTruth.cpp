#include "CounterTruth.h"

namespace pkrsim {

namespace {

// What one seat did on one street after the flop.
struct sStreetActs {
    bool acted = false;
    bool fold = false;
    bool check = false;
    bool call = false;
    bool bet = false;
    bool raise = false;
    bool cbet = false;
    bool noCbet = false;
    bool foldToCbet = false;
    bool callCbet = false;
    bool raiseCbet = false;
};

struct sSeatFacts {
    bool actedPreflop = false;
    bool vpip = false;
    bool raisedPreflop = false;
    bool madeThreeBet = false;
    bool foldedPreflop = false;
    int foldEvent = -1;
    sStreetActs street[STREET_MAX];
    bool showdown = false;
    bool won = false;
};

void MarkStreetAction(sStreetActs& acts, eAction action) {
    acts.acted = true;
    switch (action) {
        case eAction::Fold:
            acts.fold = true;
            break;
        case eAction::Check:
            acts.check = true;
            break;
        case eAction::Call:
            acts.call = true;
            break;
        case eAction::Bet:
            acts.bet = true;
            break;
        case eAction::Raise:
            acts.raise = true;
            break;
    }
}

}  // namespace

void ComputeHandCounters(const sHandRecord& hand, std::vector<sSeatCounters>& out) {
    const size_t seatCount = hand.seats.size();
    std::vector<sSeatFacts> facts(seatCount);
    bool streetDealt[STREET_MAX] = {};
    int raiseCount = 0;
    int secondRaiseEvent = -1;
    int aggressor = -1;

    for (int e = 0; e < static_cast<int>(hand.events.size()); ++e) {
        const sHandEvent& event = hand.events[e];
        sSeatFacts& seat = facts[event.seat];
        switch (event.kind) {
            case eEvent::DealStreet:
                streetDealt[event.street - HS_FLOP] = true;
                break;
            case eEvent::Act:
                if (event.street != HS_PREFLOP) {
                    MarkStreetAction(seat.street[event.street - HS_FLOP], event.action);
                    break;
                }
                // Before the flop only checks, raises, folds and calls count; there are no bets.
                if (event.action == eAction::Bet) {
                    break;
                }
                seat.actedPreflop = true;
                if (event.action == eAction::Raise) {
                    seat.vpip = true;
                    seat.raisedPreflop = true;
                    if (++raiseCount == 2) {
                        seat.madeThreeBet = true;
                        secondRaiseEvent = e;
                    }
                    aggressor = event.seat;
                } else if (event.action == eAction::Call) {
                    seat.vpip = true;
                } else if (event.action == eAction::Fold) {
                    seat.foldedPreflop = true;
                    seat.foldEvent = e;
                }
                break;
            case eEvent::Has:
            case eEvent::Mucks:
                // Showdown words count only once the river is out.
                seat.showdown = seat.showdown || event.street == HS_RIVER;
                break;
            case eEvent::Wins:
                seat.won = seat.won || event.street == HS_RIVER;
                break;
            default:
                break;
        }
    }

    // Continuation-bet chain: the preflop aggressor's bet or raise on a street, the turn only
    // after a flop c-bet, the river only after a turn c-bet.
    for (int street = 0; street < STREET_MAX; ++street) {
        if (!streetDealt[street] || aggressor < 0) {
            continue;
        }
        sStreetActs& mine = facts[aggressor].street[street];
        if (!mine.acted || (street > 0 && !facts[aggressor].street[street - 1].cbet)) {
            continue;
        }
        if (!mine.bet && !mine.raise) {
            mine.noCbet = true;
            continue;
        }
        mine.cbet = true;
        for (size_t s = 0; s < seatCount; ++s) {
            sStreetActs& other = facts[s].street[street];
            if (static_cast<int>(s) == aggressor || !other.acted) {
                continue;
            }
            if (other.fold) {
                other.foldToCbet = true;
            } else if (other.raise) {
                other.raiseCbet = true;
            } else if (other.call) {
                other.callCbet = true;
            }
        }
    }

    out.assign(seatCount, sSeatCounters{});
    for (size_t s = 0; s < seatCount; ++s) {
        sSeatFacts& seat = facts[s];
        if (!seat.actedPreflop) {
            continue;  // not even Hands: e.g. the big blind in a walk, a player away
        }
        auto& add = out[s].add;
        out[s].counted = true;
        add[CNT_HANDS] = 1;
        add[CNT_VPIP] = seat.vpip;
        add[CNT_PFR] = seat.raisedPreflop;
        add[CNT_PF3BET] = seat.madeThreeBet;
        add[CNT_PFNO3BET] = raiseCount == 1 && !seat.raisedPreflop;
        add[CNT_PFFOLDTO3BET] = seat.raisedPreflop && seat.foldedPreflop && raiseCount > 1 &&
                                seat.foldEvent > secondRaiseEvent;
        add[CNT_PFNOFOLDTO3BET] =
            raiseCount >= 2 && seat.raisedPreflop && !seat.madeThreeBet && !seat.foldedPreflop;
        add[CNT_SAWFLOP] = seat.street[STREET_FLOP].acted || seat.showdown;
        for (const eStreet street : kStreets) {
            sStreetActs acts = seat.street[street];
            // A check followed by any other action on the street is not a check; a bet that
            // is followed by a raise on the street is not a bet.
            if (acts.fold || acts.call || acts.raise || acts.bet) {
                acts.check = false;
            }
            if (acts.raise) {
                acts.bet = false;
            }
            add[StreetCounter(street, STREET_FOLD)] = acts.fold;
            add[StreetCounter(street, STREET_CHECK)] = acts.check;
            add[StreetCounter(street, STREET_CALL)] = acts.call;
            add[StreetCounter(street, STREET_BET)] = acts.bet;
            add[StreetCounter(street, STREET_RAISE)] = acts.raise;
            add[StreetCounter(street, STREET_CBET)] = acts.cbet;
            add[StreetCounter(street, STREET_NOCBET)] = acts.noCbet;
            add[StreetCounter(street, STREET_FOLDTOCBET)] = acts.foldToCbet;
            add[StreetCounter(street, STREET_CALLCBET)] = acts.callCbet;
            add[StreetCounter(street, STREET_RAISECBET)] = acts.raiseCbet;
        }
        add[CNT_SHOWDOWN] = seat.showdown;
        add[CNT_WONSHOWDOWN] = seat.showdown && seat.won;
    }
}

}  // namespace pkrsim
