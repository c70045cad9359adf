// pkr-sim as a library: writes a corpus of simulated PKR hand history files, one file per
// table under <out>/<screen name>/<YYYYMMDD>/<table name>.txt, together with the counters each
// player must get from it (<out>/expected-counters.tsv). Output is the same for the same
// options.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ExpectedCounters.h"

namespace pkrsim {

struct sSimOptions {
    std::string outDir;  // required by RunSimulation
    uint64_t seed = 1;
    int tables = 6;
    int64_t hands = 3000;             // over all tables
    std::string screenName = "Hero";  // sits at every table
    std::string date;                 // "YYYYMMDD"; empty: today
    bool laterFormat = false;
    int players = 200;  // opponents in the global pool
    int game = -1;      // GAME_HOLDEM or GAME_OMAHA; -1: a mix
    int stake = -1;     // one eStakeLevel; -1: a mix
    int minSeats = 2;   // seat lines per hand
    int maxSeats = 10;
    // Live mode (LiveSimulation.h): hands appear one by one, `paceMs` apart, for at most
    // `liveSeconds` seconds (0: until all hands are written or the program is stopped).
    bool live = false;
    int paceMs = 1000;
    int64_t liveSeconds = 0;
};

struct sSimResult {
    std::vector<std::string> files;  // one per table, in table order
    int64_t handsWritten = 0;
    std::string expectedCountersPath;
};

constexpr int64_t kMaxHands = 100'000'000;  // hand numbers must stay below 2^32
constexpr int kMaxTables = 100'000;
constexpr int kMaxPlayers = 1'000'000;

// Empty when the options can be simulated, else what is wrong with them.
std::string CheckOptions(const sSimOptions& options);
// The start of a run (batch or live): clears `result` and checks the options, including the
// output folder a run needs. False with a message in `error` when the run cannot start.
bool BeginRun(const sSimOptions& options, sSimResult& result, std::string& error);

// Writes the corpus. False with a message in `error` for bad options or a write failure.
bool RunSimulation(const sSimOptions& options, sSimResult& result, std::string& error);

// The text of a single table of `options.hands` hands (options.tables and outDir are not
// used), and optionally the counters it must give. For fuzz seeds and tests.
std::string GenerateTableText(const sSimOptions& options,
                              std::vector<sExpectedRow>* expected = nullptr);

}  // namespace pkrsim
