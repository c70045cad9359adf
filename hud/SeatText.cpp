#include "hud/SeatText.h"

#include <charconv>
#include <initializer_list>
#include <string_view>

#include "history/StatsStore.h"
#include "hud/SeatReader.h"
#include "hud/StatFormulas.h"
#include "overlay/Settings.h"

namespace {

using CounterBlock = std::array<int64_t, CNT_MAX>;

constexpr std::array<std::string_view, STREET_MAX> kStreetLabels = {"F: ", "T: ", "R: "};

struct sShownStat {
    eStat stat;
    bool shown;
};

// The statistics of each line, in the order they are written, with their Show setting.
std::array<sShownStat, 4> MainLine(const sSettings& settings) {
    return {{{eStat::VPIP, settings.ShowVPIP},
             {eStat::PFR, settings.ShowPFR},
             {eStat::WTSD, settings.ShowWTSD},
             {eStat::WonSD, settings.ShowWONSD}}};
}
std::array<sShownStat, 2> SecondLine(const sSettings& settings) {
    return {{{eStat::ThreeBet, settings.Show3BET}, {eStat::FoldToThreeBet, settings.ShowFT3BET}}};
}
std::array<sShownStat, 3> StreetLine(const sSettings& settings) {
    return {{{eStat::Cbet, settings.ShowCBET},
             {eStat::FoldToCbet, settings.ShowFTCBET},
             {eStat::Aggression, settings.ShowAGFR}}};
}

// Appends the shown items of `line`, each produced by `item`, with `separator` between two of
// them only.
template <typename Line, typename Item>
void AppendJoined(std::string& out, const Line& line, std::string_view separator, Item item) {
    bool first = true;
    for (const sShownStat& entry : line) {
        if (!entry.shown) {
            continue;
        }
        if (!first) {
            out += separator;
        }
        first = false;
        item(out, entry.stat);
    }
}

void AppendInteger(std::string& out, int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AppendName(std::string& out, eStat stat) {
    out += StatName(stat);
}

// Variant 2: the seat's name and the names of the main statistics shown.
void ComposeMainNames(std::string& out, std::string_view seatName, const sSettings& settings) {
    out.assign(seatName);
    out += " (hands)\n";
    AppendJoined(out, MainLine(settings), ":", AppendName);
    out += '\n';
    AppendJoined(out, SecondLine(settings), ":", AppendName);
}

// Variant 3: per street, its label and the names of the street statistics shown.
void ComposeStreetNames(std::string& out, const sSettings& settings) {
    out.clear();
    for (std::string_view label : kStreetLabels) {
        out += label;
        AppendJoined(out, StreetLine(settings), " : ", AppendName);
        out += '\n';
    }
}

// The 40 counters of the chosen bucket, read through GetCounter so that stake pooling applies.
CounterBlock ReadCounters(const CStatsStore& store, const sSettings& settings, int player,
                          sBucketKey key) {
    CounterBlock counters{};
    for (const eCounter k : kCounters) {
        counters[k] = store.GetCounter(player, key, k, settings.SplitStats_Stakes);
    }
    return counters;
}

int64_t HandsIn(const CStatsStore& store, const sSettings& settings, int player, sBucketKey key) {
    return store.GetCounter(player, key, CNT_HANDS, settings.SplitStats_Stakes);
}

}  // namespace

sSeatBucket ChooseSeatBucket(const CStatsStore& store, const sSettings& settings, int player,
                             sBucketKey table) {
    sSeatBucket bucket;
    bucket.sizeClass = table.sizeClass;
    const bool knownGame = table.game == GAME_HOLDEM || table.game == GAME_OMAHA;
    if (!knownGame || !store.IsValidPlayer(player)) {
        return bucket;
    }
    bucket.hands = HandsIn(store, settings, player, table);
    // One step up only: a heads-up regular with few six-max hands is not shown from full ring.
    if (bucket.hands < kFallbackHands && table.sizeClass >= 0 && table.sizeClass < SIZE_7TO10) {
        sBucketKey larger = table;
        larger.sizeClass = static_cast<eSizeClass>(table.sizeClass + 1);
        const int64_t largerHands = HandsIn(store, settings, player, larger);
        if (largerHands > bucket.hands) {
            bucket.sizeClass = larger.sizeClass;
            bucket.hands = largerHands;
        }
    }
    bucket.known = bucket.hands != 0;
    return bucket;
}

uint32_t SeatColourFor(int64_t hands, float vpipPercent, eSizeClass sizeClass) noexcept {
    if (hands < 5) {
        return kColourNeutral;
    }
    if (sizeClass == SIZE_3TO6) {
        return vpipPercent > 40.0f ? kColourLoose
                                   : (vpipPercent < 20.0f ? kColourTight : kColourNeutral);
    }
    if (sizeClass == SIZE_7TO10) {
        return vpipPercent > 35.0f ? kColourLoose
                                   : (vpipPercent < 15.0f ? kColourTight : kColourNeutral);
    }
    return kColourNeutral;
}

uint32_t ComposeSeatText(const CStatsStore& store, const sSettings& settings, sSeatState& seats,
                         int seat, SeatTexts& texts) {
    if (seat < 0 || seat >= kSeatCount) {
        for (std::string& text : texts) {
            text.clear();
        }
        return kColourUnknown;
    }
    ComposeMainNames(texts[2], seats.m_strSeatName[seat], settings);
    ComposeStreetNames(texts[3], settings);

    const int player = seats.m_nPlayer[seat];
    const sBucketKey table = seats.Bucket();
    const sSeatBucket bucket = ChooseSeatBucket(store, settings, player, table);
    if (!bucket.known) {
        texts[0] = texts[2];
        texts[1] = texts[3];
        seats.m_strMain[seat] = texts[0];
        return kColourUnknown;
    }

    sBucketKey shown = table;
    shown.sizeClass = bucket.sizeClass;
    const CounterBlock counters = ReadCounters(store, settings, player, shown);
    const std::span<const int64_t, CNT_MAX> block(counters);
    const auto appendValue = [&](std::string& out, eStat stat) {
        out += StatText(ComputeStat(stat, block));
    };

    std::string& main = texts[0];
    main.clear();
    if (bucket.sizeClass != table.sizeClass) {
        main += '*';
    }
    const std::string& storedName = store.PlayerName(player);
    main.append(storedName, 0, kMainNameLength);
    main += " (";
    AppendInteger(main, bucket.hands);
    main += ")\n";
    AppendJoined(main, MainLine(settings), " : ", appendValue);
    main += '\n';
    AppendJoined(main, SecondLine(settings), " ", appendValue);

    std::string& hover = texts[1];
    hover.clear();
    for (const eStreet street : kStreets) {
        hover += kStreetLabels[street];
        AppendJoined(hover, StreetLine(settings), " : ", [&](std::string& out, eStat stat) {
            out += StatText(ComputeStat(stat, block, street));
        });
        hover += '\n';
    }

    seats.m_strMain[seat] = main;
    const float vpip = ComputeStat(eStat::VPIP, block).value;
    return SeatColourFor(bucket.hands, vpip, bucket.sizeClass);
}
