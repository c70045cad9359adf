// Fuzz target: arbitrary bytes as the text of one hand history file.
//
// Apart from surviving any input under the sanitizers, the parser must leave a consistent store:
// each player is found again under its own index, each counted hand is listed once, counters sit
// only in the file's own game and stake buckets, and counters that imply one another keep their
// order (no bucket shows more raises than hands, more three-bets than raises, ...). The text is
// parsed a second time on the same store, as a growing file is, and must keep the store consistent
// and the earlier counted hands in place.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "FuzzCheck.h"
#include "history/GameTypes.h"
#include "history/HistoryParser.h"
#include "history/StatsStore.h"

namespace {

constexpr std::string_view kHandMarker = "Starting Hand #";

// The text as the file reader hands it over: everything before the first NUL byte.
std::string_view AsFileText(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    return bytes.substr(0, bytes.find('\0'));
}

void ExerciseHandNumbers(std::string_view text) {
    FuzzRequire(ReadHandNumber(text, text.size()) == 0, "no digits at the end of the text read 0");
    for (size_t pos = text.find(kHandMarker); pos != std::string_view::npos;
         pos = text.find(kHandMarker, pos + 1)) {
        (void)ReadHandNumber(text, pos + kHandMarker.size());
    }
}

void ExerciseSeatNames(std::string_view text) {
    for (int seat = 1; seat <= 10; ++seat) {
        const std::string marker = "Seat " + std::to_string(seat) + ":";
        for (size_t pos = text.find(marker); pos != std::string_view::npos;
             pos = text.find(marker, pos + 1)) {
            const std::string_view name = SeatName(text, pos, marker.size());
            if (name.empty()) {
                continue;
            }
            const char* nameStart = text.data() + pos + marker.size() + 1;
            FuzzRequire(name.data() == nameStart, "a seat name starts after the marker's blank");
            FuzzRequire(name.data() + name.size() <= text.data() + text.size(),
                        "a seat name lies inside the text");
            FuzzRequire(name.find(" -") == std::string_view::npos,
                        "a seat name ends at the first \" -\"");
        }
    }
}

void CheckCounterBlock(const int32_t* counters) {
    const int32_t hands = counters[CNT_HANDS];
    for (int k = 0; k < CNT_MAX; ++k) {
        FuzzRequire(counters[k] >= 0 && counters[k] <= hands,
                    "every counter lies between 0 and the bucket's hand count");
    }
    FuzzRequire(counters[CNT_PFR] <= counters[CNT_VPIP], "a preflop raise is voluntary");
    FuzzRequire(counters[CNT_PF3BET] <= counters[CNT_PFR], "a three-bet is a preflop raise");
    FuzzRequire(counters[CNT_PFFOLDTO3BET] <= counters[CNT_PFR],
                "only a preflop raiser folds to a three-bet");
    FuzzRequire(counters[CNT_WONSHOWDOWN] <= counters[CNT_SHOWDOWN],
                "a showdown won is a showdown reached");
}

void CheckStore(const CStatsStore& store, eGameType game, eStakeLevel stake) {
    for (int player = 0; player < store.PlayerCount(); ++player) {
        FuzzRequire(store.FindPlayer(store.PlayerName(player)) == player,
                    "each player is found under its own name and index");
        FuzzRequire(store.PlayerId(player) == player, "a new player's id is its index");
        for (const sBucketKey bucket : store.PlayerBuckets(player)) {
            FuzzRequire(bucket.game == game && bucket.stake == stake,
                        "counters go to the file's game and stake");
            const int32_t* counters = store.FindCounterBlock(player, bucket);
            FuzzRequire(counters != nullptr, "a listed bucket has counters");
            CheckCounterBlock(counters);
        }
    }
    const std::vector<uint32_t>& hands = store.CountedHands();
    const std::unordered_set<uint32_t> distinct(hands.begin(), hands.end());
    FuzzRequire(distinct.size() == hands.size(), "a hand is counted once");
    for (const uint32_t hand : hands) {
        FuzzRequire(store.IsHandCounted(hand), "a listed hand is known as counted");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = AsFileText(data, size);

    const eGameType game = DetectGameType(text);
    const eStakeLevel stake = DetectStakeLevel(text);
    FuzzRequire(game >= 0 && game < GAME_MAX, "the game type is a known one");
    FuzzRequire(stake >= 0 && stake < STAKE_MAX, "the stake level is a known one");
    ExerciseHandNumbers(text);
    ExerciseSeatNames(text);

    CStatsStore store;
    ParseHistoryText(store, text);
    CheckStore(store, game, stake);

    const std::vector<uint32_t> handsAfterFirstParse = store.CountedHands();
    const int32_t playersAfterFirstParse = store.PlayerCount();
    ParseHistoryText(store, text);
    CheckStore(store, game, stake);
    FuzzRequire(store.PlayerCount() >= playersAfterFirstParse, "players are never dropped");
    const std::vector<uint32_t>& hands = store.CountedHands();
    FuzzRequire(
        hands.size() >= handsAfterFirstParse.size() &&
            std::equal(handsAfterFirstParse.begin(), handsAfterFirstParse.end(), hands.begin()),
        "hands counted earlier stay in place");
    return 0;
}
