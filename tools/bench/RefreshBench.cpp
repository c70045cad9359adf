#include "RefreshBench.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "ProcessInfo.h"
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

sTickTimes Summary(std::vector<double> samples, std::vector<double> cpu = {}) {
    sTickTimes times;
    if (!cpu.empty() && cpu.front() >= 0) {
        std::sort(cpu.begin(), cpu.end());
        times.p99CpuMicros = Quantile(cpu, 0.99);
    }
    if (samples.empty()) {
        return times;
    }
    std::sort(samples.begin(), samples.end());
    times.medianMicros = Quantile(samples, 0.5);
    times.p99Micros = Quantile(samples, 0.99);
    double sum = 0;
    for (double sample : samples) {
        sum += sample;
    }
    times.meanMicros = sum / static_cast<double>(samples.size());
    return times;
}

bool AppendBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool WriteWhole(const std::string& path, std::string_view text) {
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

    // The hands the client goes on to write, in halves of about 700 bytes.
    options.seed = 8;
    options.hands = 300;
    const std::string later = pkrsim::GenerateTableText(options);
    constexpr size_t kPiece = 700;

    CSeatReader reader;
    CSeatReader wholeReader(ReadTextFile);
    sSeatState seats;
    SeatTexts texts;
    std::vector<double> idle, growing, whole, idleCpu, growingCpu, wholeCpu;
    bool allRead = true;
    // One tick as the HUD runs it.
    // One tick as the HUD runs it. (A tick in the middle of a hand finds no seats after its
    // "Shuffling Deck" yet; that is no failure.)
    auto tick = [&](CSeatReader& seatReader, std::vector<double>& samples,
                    std::vector<double>& cpu) {
        const double cpuStart = ThreadCpuMicros();
        const Clock::time_point start = Clock::now();
        const bool read = seatReader.ReadSeats(path, store, seats);
        allRead = (read || &samples == &growing) && allRead;
        for (int seat = 0; seat < kSeatCount; ++seat) {
            ComposeSeatText(store, settings, seats, seat, texts);
        }
        samples.push_back(MicrosBetween(start, Clock::now()));
        cpu.push_back(cpuStart < 0 ? -1 : ThreadCpuMicros() - cpuStart);
    };
    tick(reader, idle, idleCpu);  // the first tick reads the whole file
    idle.clear();
    idleCpu.clear();
    for (int r = 0; r < repeat; ++r) {
        tick(reader, idle, idleCpu);
    }
    for (int r = 0; r < repeat / 4; ++r) {
        tick(wholeReader, whole, wholeCpu);
    }
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (!seats.m_strSeatName[seat].empty()) {
            ++result.seated;
            result.known += seats.m_nPlayer[seat] >= 0 ? 1 : 0;
        }
    }
    for (size_t pos = 0; pos < later.size() && static_cast<int>(growing.size()) < repeat;
         pos += kPiece) {
        allRead = AppendBytes(path, std::string_view(later).substr(pos, kPiece)) && allRead;
        tick(reader, growing, growingCpu);
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);

    result.idle = Summary(idle, idleCpu);
    result.growing = Summary(growing, growingCpu);
    result.whole = Summary(whole, wholeCpu);
    result.ok = allRead && result.seated > 0;
    return result;
}

}  // namespace bench
