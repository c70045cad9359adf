#include "TableConfig.h"

#include <algorithm>
#include <array>

namespace pkrsim {

namespace {

// Table names are free of action words and of anything the parser searches for.
constexpr const char* kTableWords[] = {
    "Amber Reef", "Copper Gate",  "Lantern Row", "Misty Harbor", "Orchid Lane", "Quartz Hill",
    "Red Mesa",   "Silver Dune",  "Tidal Glen",  "Velvet Moon",  "Willow Bend", "Zephyr Cove",
    "Cedar Peak", "Drift Canyon", "Ember Fjord", "Fable Point",  "Granite Bay", "Hollow Oak",
};

// Blinds of the no-limit levels 10NL..600NL, in cents, matching the level's marker.
constexpr std::array<std::array<int64_t, 2>, 7> kNoLimitBlinds = {
    {{5, 10}, {10, 25}, {25, 50}, {50, 100}, {100, 200}, {200, 400}, {300, 600}}};

// Real-money no-limit blinds that are none of the levels above: stake level "Other".
constexpr std::array<std::array<int64_t, 2>, 4> kOtherBlinds = {
    {{1, 2}, {2, 4}, {500, 1000}, {1000, 2000}}};

int DrawSeatCount(const sTableLimits& limits, CRng& rng) {
    // The client's usual table sizes when the range allows one, else any size in the range.
    std::vector<int> usual;
    for (int size : {2, 6, 9, 10}) {
        if (size >= limits.minSeats && size <= limits.maxSeats) {
            usual.push_back(size);
        }
    }
    if (!usual.empty() && rng.Chance(0.85)) {
        return usual[rng.Below(static_cast<uint32_t>(usual.size()))];
    }
    return rng.Between(limits.minSeats, limits.maxSeats);
}

void AppendThousands(std::string& out, int64_t whole) {
    const std::string digits = std::to_string(whole);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
}

}  // namespace

void AppendMoney(std::string& out, int64_t amount, eMoney money) {
    if (money == eMoney::TournamentChips) {
        AppendThousands(out, amount);
        return;
    }
    out += '$';
    AppendThousands(out, amount / 100);
    const int64_t cents = amount % 100;
    if (cents != 0) {
        out += '.';
        out += static_cast<char>('0' + cents / 10);
        out += static_cast<char>('0' + cents % 10);
    }
}

void AppendBlindsLine(std::string& out, const sTableConfig& table, int64_t smallBlind,
                      int64_t bigBlind, bool laterFormat) {
    if (IsNoLimitStake(table.stake)) {
        const int level = table.stake - STAKE_FIRST_NL;
        out += laterFormat ? kSpacedBlindMarkers[level] : kStakeMarkers[table.stake];
        return;
    }
    out += "Blinds are now ";
    AppendMoney(out, smallBlind, table.money);
    out += laterFormat ? " / " : "/";
    AppendMoney(out, bigBlind, table.money);
}

sTableConfig DrawTable(const sTableLimits& limits, int index, CRng& rng) {
    sTableConfig table;
    table.stake = limits.stake;
    table.game = limits.game >= 0 ? limits.game : (rng.Chance(0.3) ? GAME_OMAHA : GAME_HOLDEM);
    table.betting = table.game == GAME_OMAHA ? eBetting::PotLimit : eBetting::NoLimit;
    table.tableNumber = 30000000u + static_cast<uint32_t>(index) * 7919u + rng.Below(7919);

    std::array<int64_t, 2> blinds{25, 50};
    switch (table.stake) {
        case STAKE_PLAYMONEY:
            table.money = eMoney::Play;
            blinds = {500, 1000};
            break;
        case STAKE_TOURNAMENT:
            table.money = eMoney::TournamentChips;
            blinds = {10, 20};
            break;
        case STAKE_LIMIT:
            table.betting = eBetting::FixedLimit;
            blinds = kNoLimitBlinds[rng.Below(kNoLimitBlinds.size())];
            break;
        case STAKE_OTHER:
            blinds = kOtherBlinds[rng.Below(kOtherBlinds.size())];
            break;
        default:
            blinds = kNoLimitBlinds[table.stake - STAKE_FIRST_NL];
            break;
    }
    table.smallBlind = blinds[0];
    table.bigBlind = blinds[1];

    const int seats = DrawSeatCount(limits, rng);
    std::vector<int> all{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (int i = 9; i > 0; --i) {
        std::swap(all[i], all[rng.Below(static_cast<uint32_t>(i + 1))]);
    }
    table.seatNumbers.assign(all.begin(), all.begin() + seats);
    std::sort(table.seatNumbers.begin(), table.seatNumbers.end());
    table.minPlayers = std::max(2, limits.minSeats);

    const char* words = kTableWords[rng.Below(std::size(kTableWords))];
    table.name = table.money == eMoney::TournamentChips ? "Tourney " : "";
    table.name += words;
    table.name += ' ';
    table.name += std::to_string(index + 1);
    return table;
}

}  // namespace pkrsim
