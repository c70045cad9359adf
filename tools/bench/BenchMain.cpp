// lq-bench: how fast the history engine parses and counts hand histories, how its time grows
// with the corpus, how much memory it takes, and how fast the cache file saves (with and without
// its flush to stable storage) and loads; or,
// with --refresh, what one overlay refresh tick of a table HUD costs.
//
//   lq-bench [--hands N]... [--dir DIR] [--seed N] [--players N] [--sim PATH]
//            [--repeat N] [--cache-players N] [--no-cache | --cache-only]
//   lq-bench --refresh [--refresh-hands N] [--ticks N] [--dir DIR]
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Corpus.h"
#include "Measurements.h"
#include "RefreshBench.h"

namespace {

constexpr double kTargetHandsPerSecond = 500000;
constexpr double kTargetGrowth = 11;  // time(10x hands) / time(hands)
constexpr double kTargetPeakBytes = 1e9;
constexpr double kTargetRefreshMicros = 100;  // p99 of one tick of a HUD, every 150 ms per table
constexpr double kTickPeriodMicros = 150000;
constexpr int kTablesWithHuds = 12;  // of which one is being played
constexpr double kTargetCoreShare = 0.01;

struct sBenchOptions {
    std::vector<int64_t> hands;
    std::string keepDir;
    uint64_t seed = 1;
    std::string simulator = LQ_SIM_PATH;
    int32_t cachePlayers = 50000;
    int64_t players = 0;  // opponents in the simulator's pool; 0: grows with the hands
    int repeat = 3;       // each measurement keeps the best of this many runs
    bool cache = true;
    bool cacheOnly = false;             // the cache file alone, without the parse
    bool refresh = false;               // measure the HUD's refresh tick instead
    std::vector<int64_t> refreshHands;  // hands in the measured table files
    int ticks = 2000;
};

const char* kUsage =
    "Usage: lq-bench [--hands N]... [--dir DIR] [--seed N] [--players N] [--sim PATH]\n"
    "                [--repeat N] [--cache-players N] [--no-cache | --cache-only]\n"
    "Measures ParseHistoryFiles throughput on corpora written by pkr-sim (default 100000 and\n"
    "1000000 hands; the corpora go to a temporary folder unless --dir keeps them for reuse;\n"
    "--players fixes the simulator's opponent pool, by default one player per 20 hands),\n"
    "then SaveStatsCache / LoadStatsCache on a synthetic store (default 50000 players; the\n"
    "save also without its flush to stable storage, for the ratio; --cache-only: this alone).\n"
    "Each figure is the best of --repeat runs (default 3).\n"
    "\n"
    "Usage: lq-bench --refresh [--refresh-hands N]... [--ticks N] [--dir DIR]\n"
    "Times one overlay refresh tick of a table HUD (bring the table's file up to date, read\n"
    "its seats, compose all ten seats' texts) on simulated table files of --refresh-hands\n"
    "hands (default 1000 and 10000), over --ticks ticks (default 2000): with the file\n"
    "unchanged, with half a hand appended before every tick, and reading the whole file\n"
    "every tick; then the share of one core that twelve tables with HUDs take. The file is\n"
    "in --dir or the temporary folder.\n";

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

// False with a message on stderr for bad arguments; `help` set for --help.
bool ParseArguments(int argc, char** argv, sBenchOptions& options, bool& help) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
            return true;
        }
        if (arg == "--cache-only") {
            options.cacheOnly = true;
            continue;
        }
        if (arg == "--no-cache") {
            options.cache = false;
            continue;
        }
        if (arg == "--refresh") {
            options.refresh = true;
            continue;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "lq-bench: %s needs a value (or is unknown)\n", argv[i]);
            return false;
        }
        const std::string_view value = argv[++i];
        bool ok = true;
        if (arg == "--hands") {
            int64_t hands = 0;
            ok = ParseNumber(value, hands) && hands > 0;
            options.hands.push_back(hands);
        } else if (arg == "--dir") {
            options.keepDir = value;
        } else if (arg == "--seed") {
            ok = ParseNumber(value, options.seed);
        } else if (arg == "--sim") {
            options.simulator = value;
        } else if (arg == "--players") {
            ok = ParseNumber(value, options.players) && options.players > 0;
        } else if (arg == "--repeat") {
            ok = ParseNumber(value, options.repeat) && options.repeat > 0;
        } else if (arg == "--refresh-hands") {
            int64_t hands = 0;
            ok = ParseNumber(value, hands) && hands > 0;
            options.refreshHands.push_back(hands);
        } else if (arg == "--ticks") {
            ok = ParseNumber(value, options.ticks) && options.ticks > 0;
        } else if (arg == "--cache-players") {
            ok = ParseNumber(value, options.cachePlayers) && options.cachePlayers > 0;
        } else {
            std::fprintf(stderr, "lq-bench: unknown option %s\n", argv[i - 1]);
            return false;
        }
        if (!ok) {
            std::fprintf(stderr, "lq-bench: invalid value '%s' for %s\n", argv[i], argv[i - 1]);
            return false;
        }
    }
    if (options.hands.empty()) {
        options.hands = {100000, 1000000};
    }
    if (options.refreshHands.empty()) {
        options.refreshHands = {1000, 10000};
    }
    return true;
}

const char* Verdict(bool met) {
    return met ? "met" : "NOT MET";
}

double Megabytes(int64_t bytes) {
    return static_cast<double>(bytes) / 1e6;
}

std::string TemporaryFolder(const std::string& keepDir) {
    std::error_code ec;
    return keepDir.empty() ? std::filesystem::temp_directory_path(ec).string() : keepDir;
}

int RunRefreshBench(const sBenchOptions& options) {
    bool met = true;
    bool metCpu = true;
    double worstIdleMean = 0;
    double worstGrowingMean = 0;
    for (const int64_t hands : options.refreshHands) {
        std::printf("\nOverlay refresh tick, %lld hands, %d ticks (microseconds)\n",
                    static_cast<long long>(hands), options.ticks);
        std::printf("%-28s %6s %6s %8s %8s %8s %8s %8s %8s %8s %8s\n", "table", "MB", "seats",
                    "idle p50", "idle p99", "idle cpu", "grow p50", "grow p99", "grow cpu",
                    "whole50", "whole99");
        for (const bench::sRefreshScenario& scenario : bench::DefaultRefreshScenarios()) {
            const bench::sRefreshMeasurement run = bench::MeasureRefresh(
                scenario, hands, options.ticks, TemporaryFolder(options.keepDir));
            if (!run.ok) {
                std::printf("%-28s FAILED: the table file could not be written or read\n",
                            scenario.label.c_str());
                return 1;
            }
            std::printf("%-28s %6.2f %3d/%-2d %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %8.0f %8.0f\n",
                        run.label.c_str(), Megabytes(run.fileBytes), run.known, run.seated,
                        run.idle.medianMicros, run.idle.p99Micros, run.idle.p99CpuMicros,
                        run.growing.medianMicros, run.growing.p99Micros, run.growing.p99CpuMicros,
                        run.whole.medianMicros, run.whole.p99Micros);
            met = met && run.idle.p99Micros < kTargetRefreshMicros &&
                  run.growing.p99Micros < kTargetRefreshMicros;
            metCpu = metCpu && run.idle.p99CpuMicros < kTargetRefreshMicros &&
                     run.growing.p99CpuMicros < kTargetRefreshMicros;
            worstIdleMean = std::max(worstIdleMean, run.idle.meanMicros);
            worstGrowingMean = std::max(worstGrowingMean, run.growing.meanMicros);
        }
    }
    std::printf(
        "  (seats: players known to the store / seated; idle: file unchanged; grow: half a hand\n"
        "   appended before every tick; whole: the whole file read and searched every tick;\n"
        "   cpu: p99 of the thread's processor time in a tick, without the time other programs\n"
        "   had the processor; -1 where not measured)\n");
    // Every table takes the costliest mean measured: one being played, the others idle.
    const double share =
        ((kTablesWithHuds - 1) * worstIdleMean + worstGrowingMean) / kTickPeriodMicros;
    std::printf("\nTargets\n  p99 of one tick < %.0f us in every table: %s (processor time: %s)\n",
                kTargetRefreshMicros, Verdict(met), Verdict(metCpu));
    std::printf(
        "  %d tables with HUDs, one being played, every %.0f ms: %.3f%% of one core "
        "(target < %.0f%%): %s\n",
        kTablesWithHuds, kTickPeriodMicros / 1000, share * 100, kTargetCoreShare * 100,
        Verdict(share < kTargetCoreShare));
    return 0;
}

// Saves and loads a synthetic store of --cache-players players, best of --repeat runs.
int RunCacheBench(const sBenchOptions& options) {
    std::error_code ec;
    const std::string folder = options.keepDir.empty()
                                   ? std::filesystem::temp_directory_path(ec).string()
                                   : options.keepDir;
    bench::sCacheMeasurement cache =
        bench::MeasureCache({options.cachePlayers, 200000, 1000}, folder);
    for (int r = 1; r < options.repeat && cache.ok; ++r) {
        const bench::sCacheMeasurement again =
            bench::MeasureCache({options.cachePlayers, 200000, 1000}, folder);
        cache.ok = again.ok;
        cache.saveSeconds = std::min(cache.saveSeconds, again.saveSeconds);
        cache.unflushedSaveSeconds =
            std::min(cache.unflushedSaveSeconds, again.unflushedSaveSeconds);
        cache.loadSeconds = std::min(cache.loadSeconds, again.loadSeconds);
    }
    std::printf("\nCache file (%d players, two buckets each, 200000 hands, 1000 files)\n",
                options.cachePlayers);
    if (!cache.ok) {
        std::printf("  FAILED: the saved store did not load back intact\n");
        return 1;
    }
    std::printf("%10s %9s %9s %9s\n", "operation", "MB", "seconds", "MB/s");
    std::printf("%10s %9.1f %9.3f %9.1f\n", "save", Megabytes(cache.fileBytes), cache.saveSeconds,
                Megabytes(cache.fileBytes) / std::max(cache.saveSeconds, 1e-9));
    std::printf("%10s %9.1f %9.3f %9.1f\n", "load", Megabytes(cache.fileBytes), cache.loadSeconds,
                Megabytes(cache.fileBytes) / std::max(cache.loadSeconds, 1e-9));
    std::printf("%10s %9.1f %9.3f %9.1f\n", "no flush", Megabytes(cache.fileBytes),
                cache.unflushedSaveSeconds,
                Megabytes(cache.fileBytes) / std::max(cache.unflushedSaveSeconds, 1e-9));
    std::printf("  the flush to stable storage makes the save %.2f times as long\n",
                cache.saveSeconds / std::max(cache.unflushedSaveSeconds, 1e-9));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    sBenchOptions options;
    bool help = false;
    if (!ParseArguments(argc, argv, options, help)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.refresh) {
        return RunRefreshBench(options);
    }
    if (options.cacheOnly) {
        return RunCacheBench(options);
    }

    // Every corpus is ready before the first measurement, so the simulator's output and disk
    // writes stay out of the timed part.
    bench::CCorpusFolder corpora(options.simulator, options.keepDir);
    std::vector<bench::sCorpus> corpusOf(options.hands.size());
    for (size_t i = 0; i < options.hands.size(); ++i) {
        std::string error;
        if (!corpora.Prepare(options.hands[i], options.players, options.seed, corpusOf[i], error)) {
            std::fprintf(stderr, "lq-bench: %s\n", error.c_str());
            return 1;
        }
    }

    std::vector<std::pair<int64_t, bench::sParseMeasurement>> runs;
    std::printf("\nParse and count, one thread (ParseHistoryFiles into an empty store)\n");
    std::printf("%10s %6s %9s %9s %12s %8s %8s %10s\n", "hands", "files", "MB", "seconds",
                "hands/s", "MB/s", "players", "peak MB");
    for (size_t i = 0; i < options.hands.size(); ++i) {
        const int64_t hands = options.hands[i];
        const bench::sCorpus& corpus = corpusOf[i];
        bench::sParseMeasurement run = bench::MeasureParse(corpus);
        for (int r = 1; r < options.repeat; ++r) {
            const bench::sParseMeasurement again = bench::MeasureParse(corpus);
            run.seconds = std::min(run.seconds, again.seconds);
            run.peakBytes = again.peakBytes;
        }
        const double seconds = run.seconds > 0 ? run.seconds : 1e-9;
        std::printf("%10lld %6zu %9.1f %9.3f %12.0f %8.1f %8d %10.1f\n",
                    static_cast<long long>(run.handsCounted), corpus.files.size(),
                    Megabytes(corpus.bytes), run.seconds,
                    static_cast<double>(run.handsCounted) / seconds,
                    Megabytes(corpus.bytes) / seconds, run.players,
                    run.peakBytes < 0 ? -1.0 : Megabytes(run.peakBytes));
        if (run.handsCounted != hands) {
            std::printf("  (the simulator wrote %lld hands; %lld were counted)\n",
                        static_cast<long long>(hands), static_cast<long long>(run.handsCounted));
        }
        runs.emplace_back(hands, run);
    }

    std::printf("\nTargets\n");
    for (const auto& [hands, run] : runs) {
        const double rate = static_cast<double>(run.handsCounted) / std::max(run.seconds, 1e-9);
        std::printf("  %lld hands: %.0f hands/s (target >= %.0f): %s\n",
                    static_cast<long long>(hands), rate, kTargetHandsPerSecond,
                    Verdict(rate >= kTargetHandsPerSecond));
        if (run.peakBytes >= 0) {
            std::printf("  %lld hands: peak memory %.1f MB (target < %.0f MB): %s\n",
                        static_cast<long long>(hands), Megabytes(run.peakBytes),
                        Megabytes(static_cast<int64_t>(kTargetPeakBytes)),
                        Verdict(static_cast<double>(run.peakBytes) < kTargetPeakBytes));
        }
    }
    for (size_t i = 0; i < runs.size(); ++i) {
        for (size_t j = 0; j < runs.size(); ++j) {
            if (runs[j].first == runs[i].first * 10 && runs[i].second.seconds > 0) {
                const double growth = runs[j].second.seconds / runs[i].second.seconds;
                std::printf("  time(%lld) / time(%lld) = %.2f (target <= %.0f): %s\n",
                            static_cast<long long>(runs[j].first),
                            static_cast<long long>(runs[i].first), growth, kTargetGrowth,
                            Verdict(growth <= kTargetGrowth));
            }
        }
    }

    return options.cache ? RunCacheBench(options) : 0;
}
