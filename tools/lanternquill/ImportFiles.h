// The import's reading of hand history files and the line that sums it up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "history/Progress.h"

class CStatsStore;

struct sImportTally {
    size_t importedFiles = 0;  // files that gave at least one hand not counted before
    size_t skippedFiles = 0;   // files without such a hand: empty, counted before, unreadable
};

// Reads the files into the store one by one, reporting after each file, so that the progress
// only moves forward.
[[nodiscard]] sImportTally ImportHistoryFiles(CStatsStore& store,
                                              const std::vector<std::string>& paths,
                                              IProgressSink* progress);

// "1 file", "2 files".
[[nodiscard]] std::string CountText(uint64_t count, const std::string& noun);

struct sImportFigures {
    sImportTally tally;
    uint64_t newHands = 0;
    int64_t players = 0;
    int64_t newPlayers = 0;
    double seconds = 0.0;
};

// "Imported 1 file: 12 new hands, 5 players (5 new) in 0.012 s (1000 hands/s)", and a second
// line naming the files read without a new hand when there are any.
[[nodiscard]] std::string ImportSummary(const sImportFigures& figures);
