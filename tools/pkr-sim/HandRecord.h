// The simulator's own record of one played hand: who sat where, and every event in the order it
// happened. The text writer renders it; the counter truth is computed from it directly, never
// from the rendered text.
#pragma once

#include <cstdint>
#include <vector>

#include "Cards.h"

namespace pkrsim {

enum class eAction : uint8_t { Fold, Check, Call, Bet, Raise };

enum class eEvent : uint8_t {
    PostSmallBlind,
    PostBigBlind,
    Act,             // a fold, check, call, bet or raise (see `action`)
    ReturnUncalled,  // an uncalled part of a bet goes back to its owner
    PotSizes,        // the pot after a betting round (later format only)
    DealStreet,      // flop, turn or river; `street` is the street dealt
    Shows,           // shows the hole cards
    Has,             // the made hand at showdown
    Mucks,
    DoesNotShow,  // the winner of an uncontested pot keeps his cards hidden
    Rake,
    Wins,  // `pot` 0 is the main pot, k the k-th side pot
};

// Streets as counted by the events: 0 before the flop, then flop, turn and river.
enum eHandStreet : uint8_t { HS_PREFLOP = 0, HS_FLOP = 1, HS_TURN = 2, HS_RIVER = 3 };

struct sHandEvent {
    eEvent kind = eEvent::Act;
    eAction action = eAction::Fold;
    uint8_t street = HS_PREFLOP;  // the street in progress when the event happened
    uint8_t seat = 0;             // index into sHandRecord::seats
    bool allIn = false;
    bool withHand = false;  // a Wins event names the winning hand
    uint8_t pot = 0;
    int64_t amount = 0;      // street total for calls, bets and raises
    uint32_t handValue = 0;  // Has and Wins events
};

struct sHandSeat {
    int player = -1;     // index in the player pool
    int seatNumber = 0;  // 1..10
    bool dealtIn = false;
    int64_t stackBefore = 0;
    int64_t stackAfter = 0;
    Card hole[4] = {};
};

struct sHandRecord {
    uint32_t handNumber = 0;
    uint32_t lastHandNumber = 0;  // 0: the table's first hand
    int64_t startTime = 0;        // seconds since 1970-01-01 UTC
    int previousButton = 0;       // seat numbers
    int button = 0;
    int64_t smallBlind = 0;
    int64_t bigBlind = 0;
    std::vector<sHandSeat> seats;  // one per seat line, in seat number order
    std::vector<sHandEvent> events;
    Card board[5] = {};

    void Clear() {
        seats.clear();
        events.clear();
    }
};

}  // namespace pkrsim
