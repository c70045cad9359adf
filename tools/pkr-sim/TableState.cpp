#include "TableState.h"

#include <algorithm>

namespace pkrsim {

namespace {

// Tournament blind levels (chips); a level lasts kHandsPerLevel hands.
constexpr int64_t kTournamentLevels[][2] = {{10, 20},   {15, 30},   {25, 50},   {50, 100},
                                            {75, 150},  {100, 200}, {150, 300}, {200, 400},
                                            {300, 600}, {400, 800}};
constexpr int kHandsPerLevel = 25;
constexpr int64_t kTournamentStack = 1500;

bool IsSeated(const sTableState& table, int player) {
    return std::any_of(table.seats.begin(), table.seats.end(),
                       [&](const sTableSeat& seat) { return seat.player == player; });
}

int64_t BuyIn(sTableState& table) {
    if (table.config.money == eMoney::TournamentChips) {
        return kTournamentStack;
    }
    return table.bigBlind * table.rng.Between(40, 150);
}

int OccupiedCount(const sTableState& table) {
    return static_cast<int>(std::count_if(table.seats.begin(), table.seats.end(),
                                          [](const sTableSeat& s) { return s.player >= 0; }));
}

int DealtCount(const sTableState& table) {
    return static_cast<int>(std::count_if(table.seats.begin(), table.seats.end(),
                                          [](const auto& s) { return s.player >= 0 && !s.away; }));
}

// Most players stick to one game and stake level, their home: pool player p (p >= 1) calls
// home the level (p - 1) % kHomes. A few wander to any table, so players still meet at several
// stakes. (The screen name, player 0, plays everywhere.)
constexpr int kHomes = int{GAME_MAX} * int{STAKE_MAX};

int DrawOpponent(sTableState& table, const CPlayerPool& pool) {
    CRng& rng = table.rng;
    const int opponents = pool.Size() - 1;
    const int home = table.config.stake * GAME_MAX + table.config.game;
    const int homeCount = home < opponents ? (opponents - 1 - home) / kHomes + 1 : 0;
    if (homeCount > 0 && rng.Chance(0.85)) {
        return 1 + home + kHomes * static_cast<int>(rng.Below(static_cast<uint32_t>(homeCount)));
    }
    return 1 + static_cast<int>(rng.Below(static_cast<uint32_t>(opponents)));
}

// Puts a pool player who is not yet at this table into an empty seat; false when none could be
// found (a small pool).
bool SeatNewPlayer(sTableState& table, const CPlayerPool& pool) {
    std::vector<int> empty;
    for (int i = 0; i < static_cast<int>(table.seats.size()); ++i) {
        if (table.seats[i].player < 0) {
            empty.push_back(i);
        }
    }
    if (empty.empty() || pool.Size() < 2) {
        return false;
    }
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int player = DrawOpponent(table, pool);
        if (!IsSeated(table, player)) {
            sTableSeat& seat =
                table.seats[empty[table.rng.Below(static_cast<uint32_t>(empty.size()))]];
            seat.player = player;
            seat.stack = BuyIn(table);
            seat.away = false;
            return true;
        }
    }
    return false;
}

}  // namespace

sTableState::sTableState(sTableConfig tableConfig, uint64_t seed, int64_t startTime)
    : config(std::move(tableConfig)),
      seats(config.seatNumbers.size()),
      smallBlind(config.smallBlind),
      bigBlind(config.bigBlind),
      clock(startTime),
      rng(seed) {
    buttonSeat = config.seatNumbers[rng.Below(static_cast<uint32_t>(config.seatNumbers.size()))];
}

void SeatInitialPlayers(sTableState& table, const CPlayerPool& pool) {
    sTableSeat& hero = table.seats[table.rng.Below(static_cast<uint32_t>(table.seats.size()))];
    hero.player = 0;
    hero.stack = BuyIn(table);
    while (SeatNewPlayer(table, pool)) {
    }
}

void PrepareNextHand(sTableState& table, const CPlayerPool& pool) {
    CRng& rng = table.rng;
    if (table.config.money == eMoney::TournamentChips) {
        const int level = std::min<int>(table.handsPlayed / kHandsPerLevel,
                                        static_cast<int>(std::size(kTournamentLevels)) - 1);
        table.smallBlind = kTournamentLevels[level][0];
        table.bigBlind = kTournamentLevels[level][1];
    }

    const int seatCount = static_cast<int>(table.seats.size());
    const int minimum = std::min(table.config.minPlayers, seatCount);
    for (sTableSeat& seat : table.seats) {
        if (seat.player <= 0) {
            continue;  // empty, or the screen name, who never leaves
        }
        if (rng.Chance(0.015) && OccupiedCount(table) > minimum) {
            seat.player = -1;
            continue;
        }
        if (seat.away) {
            seat.away = !rng.Chance(0.4);
        } else if (rng.Chance(0.01)) {
            seat.away = true;
        }
    }
    if (rng.Chance(0.3)) {
        SeatNewPlayer(table, pool);
    }
    while (OccupiedCount(table) < minimum && SeatNewPlayer(table, pool)) {
    }
    // Someone must play against the screen name.
    while (DealtCount(table) < 2) {
        auto away = std::find_if(table.seats.begin(), table.seats.end(),
                                 [](const sTableSeat& s) { return s.player > 0 && s.away; });
        if (away != table.seats.end()) {
            away->away = false;
        } else if (!SeatNewPlayer(table, pool)) {
            break;
        }
    }
    for (sTableSeat& seat : table.seats) {
        if (seat.player >= 0 && seat.stack < table.bigBlind * 10) {
            seat.stack = BuyIn(table);  // a reload, or a fresh tournament entry
        }
    }
}

}  // namespace pkrsim
