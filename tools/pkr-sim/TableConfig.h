// What a simulated table is: its name and number, game, betting structure, money and blinds,
// and which seat numbers it has. Everything here is fixed for the table's whole file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Rng.h"
#include "history/GameTypes.h"

namespace pkrsim {

enum class eBetting { NoLimit, PotLimit, FixedLimit };
enum class eMoney { Real, Play, TournamentChips };

// What a table draw must respect.
struct sTableLimits {
    int game = -1;           // GAME_HOLDEM or GAME_OMAHA, -1 for either
    int stake = STAKE_50NL;  // the eStakeLevel of the table
    int minSeats = 2;
    int maxSeats = 10;
};

struct sTableConfig {
    std::string name;  // also the file name, without ".txt"
    uint32_t tableNumber = 0;
    int game = GAME_HOLDEM;
    int stake = STAKE_50NL;  // the level the file's markers select
    eBetting betting = eBetting::NoLimit;
    eMoney money = eMoney::Real;
    int64_t smallBlind = 25;  // in cents, or chips in a tournament
    int64_t bigBlind = 50;
    std::vector<int> seatNumbers;  // the table's seats, ascending, 2..10 of them within 1..10
    int minPlayers = 2;            // fewest seat lines a hand may have
};

// Draws a table of the given stake level: its blinds and money (play money, tournament chips,
// fixed limit, other blinds), game, size and seat numbers. `index` makes the name unique
// within a corpus.
sTableConfig DrawTable(const sTableLimits& limits, int index, CRng& rng);

// Appends the "Blinds are now ..." line of a table with the given blinds, without its line end.
// The no-limit levels write their level's marker exactly.
void AppendBlindsLine(std::string& out, const sTableConfig& table, int64_t smallBlind,
                      int64_t bigBlind, bool laterFormat);

// Money as the client writes it: "$0.50", "$16.25", "$3,895"; tournament chips as "10,000".
void AppendMoney(std::string& out, int64_t amount, eMoney money);

}  // namespace pkrsim
