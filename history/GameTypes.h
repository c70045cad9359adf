// Classification axes of the statistics counters: game type, stake level, table-size class,
// and the names of the 40 counters kept per bucket.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

enum eGameType : int { GAME_HOLDEM = 0, GAME_OMAHA = 1, GAME_MAX = 2 };

enum eSizeClass : int { SIZE_HEADSUP = 0, SIZE_3TO6 = 1, SIZE_7TO10 = 2, SIZECLASS_MAX = 3 };

// Stake levels 0..10. Levels 3..9 are the no-limit cash levels that pool together unless the
// "SplitStats_Stakes" option is on.
enum eStakeLevel : int {
    STAKE_PLAYMONEY = 0,
    STAKE_TOURNAMENT = 1,
    STAKE_LIMIT = 2,
    STAKE_10NL = 3,
    STAKE_25NL = 4,
    STAKE_50NL = 5,
    STAKE_100NL = 6,
    STAKE_200NL = 7,
    STAKE_400NL = 8,
    STAKE_600NL = 9,
    STAKE_OTHER = 10,
    STAKE_MAX = 11
};

constexpr int STAKE_FIRST_NL = STAKE_10NL;
constexpr int STAKE_LAST_NL = STAKE_600NL;
constexpr bool IsNoLimitStake(int stake) {
    return stake >= STAKE_FIRST_NL && stake <= STAKE_LAST_NL;
}

enum eCounter : int {
    CNT_HANDS = 0,
    CNT_VPIP,
    CNT_PFR,
    CNT_PF3BET,
    CNT_PFNO3BET,
    CNT_PFFOLDTO3BET,
    CNT_PFNOFOLDTO3BET,
    CNT_SAWFLOP,
    // Ten counters per street, in this order, starting at CNT_FLOPFOLD, CNT_TURNFOLD,
    // CNT_RIVERFOLD.
    CNT_FLOPFOLD,
    CNT_FLOPCHECK,
    CNT_FLOPCALL,
    CNT_FLOPBET,
    CNT_FLOPRAISE,
    CNT_FLOPCBET,
    CNT_FLOPNOCBET,
    CNT_FLOPFOLDTOCBET,
    CNT_FLOPCALLCBET,
    CNT_FLOPRAISECBET,
    CNT_TURNFOLD,
    CNT_TURNCHECK,
    CNT_TURNCALL,
    CNT_TURNBET,
    CNT_TURNRAISE,
    CNT_TURNCBET,
    CNT_TURNNOCBET,
    CNT_TURNFOLDTOCBET,
    CNT_TURNCALLCBET,
    CNT_TURNRAISECBET,
    CNT_RIVERFOLD,
    CNT_RIVERCHECK,
    CNT_RIVERCALL,
    CNT_RIVERBET,
    CNT_RIVERRAISE,
    CNT_RIVERCBET,
    CNT_RIVERNOCBET,
    CNT_RIVERFOLDTOCBET,
    CNT_RIVERCALLCBET,
    CNT_RIVERRAISECBET,
    CNT_SHOWDOWN,
    CNT_WONSHOWDOWN,
    CNT_MAX  // 40
};
static_assert(CNT_MAX == 40);

// Every counter, in record order, for walks over a whole block.
inline constexpr std::array<eCounter, CNT_MAX> kCounters = [] {
    std::array<eCounter, CNT_MAX> all{};
    for (int k = 0; k < CNT_MAX; ++k) {
        all[k] = static_cast<eCounter>(k);
    }
    return all;
}();

// Offsets inside a street's run of ten counters.
enum eStreetCounter : int {
    STREET_FOLD = 0,
    STREET_CHECK,
    STREET_CALL,
    STREET_BET,
    STREET_RAISE,
    STREET_CBET,
    STREET_NOCBET,
    STREET_FOLDTOCBET,
    STREET_CALLCBET,
    STREET_RAISECBET,
    STREET_COUNTERS
};

enum eStreet : int { STREET_FLOP = 0, STREET_TURN = 1, STREET_RIVER = 2, STREET_MAX = 3 };
inline constexpr std::array<eStreet, STREET_MAX> kStreets = {STREET_FLOP, STREET_TURN,
                                                             STREET_RIVER};

// The counter of `offset` on `street`.
constexpr eCounter StreetCounter(eStreet street, eStreetCounter offset) {
    return static_cast<eCounter>(int{CNT_FLOPFOLD} + int{street} * int{STREET_COUNTERS} +
                                 int{offset});
}

// Number of (game, stake, size class) buckets in a player's record.
constexpr int BUCKET_COUNT = int{GAME_MAX} * int{STAKE_MAX} * int{SIZECLASS_MAX};  // 66

// One (game, stake level, size class) bucket of a player's counters. The axes are enums so that
// they cannot be given in the wrong order; an enum cast from an int read from a cache file, a
// table's text or the command line may still lie outside its axis, which IsValid tells.
struct sBucketKey {
    eGameType game = GAME_HOLDEM;
    eStakeLevel stake = STAKE_PLAYMONEY;
    eSizeClass sizeClass = SIZE_HEADSUP;

    [[nodiscard]] constexpr bool IsValid() const noexcept {
        return game >= 0 && game < GAME_MAX && stake >= 0 && stake < STAKE_MAX && sizeClass >= 0 &&
               sizeClass < SIZECLASS_MAX;
    }
    // The bucket's number in the record of the cache file: game type first, then stake level,
    // then size class. Meaningful only for a valid key.
    [[nodiscard]] constexpr int Index() const noexcept {
        return (int{game} * int{STAKE_MAX} + int{stake}) * int{SIZECLASS_MAX} + int{sizeClass};
    }
    // The key of bucket number `index` (0 .. BUCKET_COUNT-1), the inverse of Index.
    [[nodiscard]] static constexpr sBucketKey At(int index) noexcept {
        return {static_cast<eGameType>(index / (int{STAKE_MAX} * int{SIZECLASS_MAX})),
                static_cast<eStakeLevel>(index / int{SIZECLASS_MAX} % int{STAKE_MAX}),
                static_cast<eSizeClass>(index % int{SIZECLASS_MAX})};
    }
    friend constexpr bool operator==(const sBucketKey&, const sBucketKey&) = default;
};

// Size class of a hand or table from the number of seats found.
constexpr eSizeClass SizeClassFromSeatCount(int seats) {
    return seats <= 2 ? SIZE_HEADSUP : (seats <= 6 ? SIZE_3TO6 : SIZE_7TO10);
}

// Hand history markers that classify a whole file, in table order (index = game type / level).
inline constexpr std::array<std::string_view, GAME_MAX> kGameMarkers = {"Game Type: HOLD'EM",
                                                                        "Game Type: OMAHA"};

inline constexpr std::array<std::string_view, STAKE_OTHER> kStakeMarkers = {
    "Money Type: PLAY MONEY",     "Table Type: TOURNAMENT",     "Limit Type: LIMIT",
    "Blinds are now $0.05/$0.10", "Blinds are now $0.10/$0.25", "Blinds are now $0.25/$0.50",
    "Blinds are now $0.50/$1",    "Blinds are now $1/$2",       "Blinds are now $2/$4",
    "Blinds are now $3/$6"};

// Later client versions write the blinds with blanks around the slash; these stand for the same
// no-limit levels as kStakeMarkers[STAKE_10NL..STAKE_600NL].
inline constexpr std::array<std::string_view, STAKE_LAST_NL - STAKE_FIRST_NL + 1>
    kSpacedBlindMarkers = {"Blinds are now $0.05 / $0.10", "Blinds are now $0.10 / $0.25",
                           "Blinds are now $0.25 / $0.50", "Blinds are now $0.50 / $1",
                           "Blinds are now $1 / $2",       "Blinds are now $2 / $4",
                           "Blinds are now $3 / $6"};

inline constexpr std::array<std::string_view, STAKE_MAX> kStakeLabels = {
    "Play Money", "Tournament", "LIMIT", "10NL",  "25NL", "50NL",
    "100NL",      "200NL",      "400NL", "600NL", "Other"};

inline constexpr std::array<std::string_view, CNT_MAX> kCounterNames = {
    "Hands",          "VPIP",           "PFR",
    "PF3BET",         "PFNO3BET",       "PFFOLDTO3BET",
    "PFNOFOLDTO3BET", "SAWFLOP",        "FLOPFOLD",
    "FLOPCHECK",      "FLOPCALL",       "FLOPBET",
    "FLOPRAISE",      "FLOPCBET",       "FLOPNOCBET",
    "FLOPFOLDTOCBET", "FLOPCALLCBET",   "FLOPRAISECBET",
    "TURNFOLD",       "TURNCHECK",      "TURNCALL",
    "TURNBET",        "TURNRAISE",      "TURNCBET",
    "TURNNOCBET",     "TURNFOLDTOCBET", "TURNCALLCBET",
    "TURNRAISECBET",  "RIVERFOLD",      "RIVERCHECK",
    "RIVERCALL",      "RIVERBET",       "RIVERRAISE",
    "RIVERCBET",      "RIVERNOCBET",    "RIVERFOLDTOCBET",
    "RIVERCALLCBET",  "RIVERRAISECBET", "SHOWDOWN",
    "WONSHOWDOWN"};
