// The counters a played hand must add, worked out from the simulator's record of who did what
// (never from the written text), by the statistics' counting rules: who counts at all, the
// preflop raise chain, per-street actions, continuation-bet chains and the showdown.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "HandRecord.h"
#include "history/GameTypes.h"

namespace pkrsim {

struct sSeatCounters {
    bool counted = false;  // the seat made a preflop check, raise, fold or call
    std::array<uint8_t, CNT_MAX> add{};
};

// One entry per seat of `hand` (same order as hand.seats).
void ComputeHandCounters(const sHandRecord& hand, std::vector<sSeatCounters>& out);

}  // namespace pkrsim
