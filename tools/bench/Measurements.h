// The two measurements of lq-bench: parse-and-count throughput over a corpus, and the speed of
// saving and loading the statistics cache file.
#pragma once

#include <cstdint>
#include <string>

#include "Corpus.h"

namespace bench {

struct sParseMeasurement {
    int64_t handsCounted = 0;
    int32_t players = 0;
    double seconds = 0;
    int64_t peakBytes = -1;  // the process's peak resident memory after the parse
};

// Parses every file of the corpus into a fresh store with ParseHistoryFiles, on this thread.
sParseMeasurement MeasureParse(const sCorpus& corpus);

struct sCacheMeasurement {
    bool ok = false;
    int32_t players = 0;
    int64_t fileBytes = 0;
    double saveSeconds = 0;
    double unflushedSaveSeconds = 0;  // the same save without the flush to stable storage
    double loadSeconds = 0;
};

// The size of a synthetic store: its players (counters in two buckets each), counted hands and
// file-cache entries.
struct sSyntheticSize {
    int32_t players = 0;
    int32_t hands = 0;
    int32_t files = 0;
};

// Builds a store of `size`, saves it into `folder` without and then with the flush to stable
// storage, and loads it back into a fresh store.
sCacheMeasurement MeasureCache(sSyntheticSize size, const std::string& folder);

}  // namespace bench
