#include "RefreshBench.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "Simulator.h"
#include "history/GameTypes.h"
#include "history/HistoryParser.h"
#include "history/StatsStore.h"
#include "history/TextFile.h"
#include "hud/SeatReader.h"
#include "hud/SeatText.h"
#include "overlay/Settings.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

double MicrosBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::micro>(to - from).count();
}

// The value below which `fraction` of the sorted samples lie.
double Quantile(const std::vector<double>& sorted, double fraction) {
    if (sorted.empty()) {
        return 0;
    }
    const auto index = static_cast<size_t>(fraction * static_cast<double>(sorted.size() - 1));
    return sorted[index];
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return Quantile(samples, 0.5);
}

bool WriteWhole(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out);
}

}  // namespace

std::vector<sRefreshScenario> DefaultRefreshScenarios() {
    return {
        {"full ring 25NL", GAME_HOLDEM, STAKE_25NL, 10, false},
        {"six-max 50NL, later format", GAME_HOLDEM, STAKE_50NL, 6, true},
        {"heads-up Omaha 10NL", GAME_OMAHA, STAKE_10NL, 2, false},
        {"full ring, no stake marker", GAME_HOLDEM, STAKE_OTHER, 10, false},
    };
}

sRefreshMeasurement MeasureRefresh(const sRefreshScenario& scenario, int64_t hands, int repeat,
                                   const std::string& folder) {
    sRefreshMeasurement result;
    result.label = scenario.label;

    pkrsim::sSimOptions options;
    options.seed = 7;
    options.hands = hands;
    options.players = 60;
    options.game = scenario.game;
    options.stake = scenario.stake;
    options.minSeats = options.maxSeats = scenario.seats;
    options.laterFormat = scenario.laterFormat;
    const std::string text = pkrsim::GenerateTableText(options);
    const std::string path =
        (std::filesystem::path(folder) / "lq-bench-refresh-table.txt").string();
    if (!WriteWhole(path, text)) {
        return result;
    }
    result.fileBytes = static_cast<int64_t>(text.size());

    CStatsStore store;
    ParseHistoryText(store, text);
    const sSettings settings;  // the defaults: stakes pooled, as most players keep them

    CSeatReader reader;
    sSeatState seats;
    SeatTexts texts;
    std::string buffer;
    std::vector<double> ticks, reads, seatReads, compositions;
    ticks.reserve(static_cast<size_t>(repeat));
    bool allRead = true;
    for (int r = 0; r < repeat; ++r) {
        // The whole tick as the HUD runs it ...
        const Clock::time_point start = Clock::now();
        allRead = reader.ReadSeats(path, store, seats) && allRead;
        for (int seat = 0; seat < kSeatCount; ++seat) {
            ComposeSeatText(store, settings, seats, seat, texts);
        }
        const Clock::time_point end = Clock::now();
        ticks.push_back(MicrosBetween(start, end));

        // ... and its parts, each on its own.
        const Clock::time_point readStart = Clock::now();
        allRead = ReadTextFile(path, buffer) && allRead;
        const Clock::time_point seatStart = Clock::now();
        ReadSeatsFromText(buffer, store, seats);
        const Clock::time_point composeStart = Clock::now();
        for (int seat = 0; seat < kSeatCount; ++seat) {
            ComposeSeatText(store, settings, seats, seat, texts);
        }
        const Clock::time_point composeEnd = Clock::now();
        reads.push_back(MicrosBetween(readStart, seatStart));
        seatReads.push_back(MicrosBetween(seatStart, composeStart));
        compositions.push_back(MicrosBetween(composeStart, composeEnd));
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);

    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (!seats.m_strSeatName[seat].empty()) {
            ++result.seated;
            result.known += seats.m_nPlayer[seat] >= 0 ? 1 : 0;
        }
    }
    std::sort(ticks.begin(), ticks.end());
    result.medianMicros = Quantile(ticks, 0.5);
    result.p99Micros = Quantile(ticks, 0.99);
    result.maxMicros = ticks.empty() ? 0 : ticks.back();
    result.readMicros = Median(reads);
    result.seatsMicros = Median(seatReads);
    result.composeMicros = Median(compositions);
    result.ok = allRead && result.seated > 0;
    return result;
}

}  // namespace bench
