// A running table: who sits in which seat with how much, where the button is, the blinds in
// force, its clock and its own random stream. Changes between hands (players leaving, joining,
// going away, reloading) happen in PrepareNextHand.
#pragma once

#include <cstdint>
#include <vector>

#include "PlayerPool.h"
#include "Rng.h"
#include "TableConfig.h"

namespace pkrsim {

struct sTableSeat {
    int player = -1;  // -1: empty seat
    int64_t stack = 0;
    bool away = false;  // seated but not dealt in
};

struct sTableState {
    sTableState(sTableConfig tableConfig, uint64_t seed, int64_t startTime);

    sTableConfig config;
    std::vector<sTableSeat> seats;  // parallel to config.seatNumbers
    int buttonSeat = 0;             // seat number of the last hand's button
    int64_t smallBlind = 0;
    int64_t bigBlind = 0;
    int64_t clock = 0;  // start time of the next hand
    uint32_t lastHandNumber = 0;
    int handsPlayed = 0;
    CRng rng;
};

// Seats the screen name (player 0) and opponents from the pool at a new table.
void SeatInitialPlayers(sTableState& table, const CPlayerPool& pool);

// Between hands: players leave, join, step away or come back, short stacks reload, tournament
// blinds rise. Keeps player 0 dealt in and at least two players (and the table's minimum of
// seat lines) at the table.
void PrepareNextHand(sTableState& table, const CPlayerPool& pool);

}  // namespace pkrsim
