// The import's reading of hand history files and the line that sums it up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "history/FolderScan.h"
#include "history/Progress.h"

class CStatsStore;

struct sImportTally {
    size_t importedFiles = 0;  // files that gave at least one hand not counted before
    size_t skippedFiles = 0;   // files read without such a hand: empty or counted before
    // Files that could not be read (held open by another program): not recorded in the file
    // cache, so that the next import reads them.
    std::vector<sModifiedFileInfo> unreadFiles;
};

// Adds `part` (one folder's reading) to `total`.
void AddTally(sImportTally& total, sImportTally&& part);

// Reads the files into the store one by one, reporting after each file, so that the progress
// only moves forward, and records each file read in the store's file cache with the time the
// scan found (history/FileImport.h: RecordableFileTime, `readStart` the time the reading began).
[[nodiscard]] sImportTally ImportHistoryFiles(CStatsStore& store,
                                              const std::vector<sModifiedFileInfo>& files,
                                              int64_t readStart, IProgressSink* progress);

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
