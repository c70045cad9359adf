#include "Simulator.h"

#include "CivilTime.h"
#include "SimCorpus.h"

namespace pkrsim {

namespace {

constexpr size_t kFlushBytes = 128 * 1024;

}  // namespace

std::string CheckOptions(const sSimOptions& options) {
    if (options.tables < 1 || options.tables > kMaxTables) {
        return "--tables must be between 1 and " + std::to_string(kMaxTables);
    }
    if (options.hands < 0 || options.hands > kMaxHands) {
        return "--hands must be between 0 and " + std::to_string(kMaxHands);
    }
    if (options.players < 1 || options.players > kMaxPlayers) {
        return "--players must be between 1 and " + std::to_string(kMaxPlayers);
    }
    if (!IsUsableScreenName(options.screenName)) {
        return "--screen-name must be 1 to 24 printable characters without blanks, path "
               "characters or \"Seat\"";
    }
    if (!options.date.empty() && !ParseDate(options.date)) {
        return "--date must be a valid date written YYYYMMDD (1970 or later)";
    }
    if (options.game < -1 || options.game >= GAME_MAX) {
        return "unknown game";
    }
    if (options.stake < -1 || options.stake >= STAKE_MAX) {
        return "unknown stake level";
    }
    if (options.minSeats < 2 || options.maxSeats > 10 || options.minSeats > options.maxSeats) {
        return "--seats must be MIN-MAX with 2 <= MIN <= MAX <= 10";
    }
    if (options.paceMs < 0 || options.liveSeconds < 0) {
        return "--pace and --live-seconds must not be negative";
    }
    return {};
}

bool BeginRun(const sSimOptions& options, sSimResult& result, std::string& error) {
    result = {};
    error = CheckOptions(options);
    if (error.empty() && options.outDir.empty()) {
        error = "--out is required";
    }
    return error.empty();
}

bool RunSimulation(const sSimOptions& options, sSimResult& result, std::string& error) {
    if (!BeginRun(options, result, error)) {
        return false;
    }
    CCorpus corpus(options, StartOfDay(options));
    if (!SetUpTables(options, corpus, result, error)) {
        return false;
    }

    // The tables play side by side, one hand each in turn, as a multi-tabling player sees them.
    auto& tables = corpus.Tables();
    for (bool more = true; more;) {
        more = false;
        for (auto& run : tables) {
            if (run->handsLeft <= 0) {
                continue;
            }
            corpus.PlayHand(*run);
            ++result.handsWritten;
            more = more || run->handsLeft > 0;
            if (run->pending.size() >= kFlushBytes && !Flush(*run)) {
                error = "cannot write " + run->path;
                return false;
            }
        }
    }
    for (auto& run : tables) {
        if (!Flush(*run)) {
            error = "cannot write " + run->path;
            return false;
        }
    }

    return WriteExpectedCounters(options, corpus, result, error);
}

std::string GenerateTableText(const sSimOptions& options, std::vector<sExpectedRow>* expected) {
    CCorpus corpus(options, StartOfDay(options));
    sTableRun& run = corpus.AddTable(0, options.hands, {});
    while (run.handsLeft > 0) {
        corpus.PlayHand(run);
    }
    if (expected != nullptr) {
        expected->clear();
        for (const auto& [key, totals] : corpus.Expected().All()) {
            const sBucketKey bucket = sBucketKey::At(key.second);
            expected->push_back({corpus.Pool().Name(key.first), bucket.game, bucket.stake,
                                 bucket.sizeClass, totals});
        }
    }
    return std::move(run.pending);
}

}  // namespace pkrsim
