// What the main window makes of the cache file it loaded at start: what it tells the user, and
// whether its exit may write the file. A file that could not be read, or a damaged one that
// could not be set aside, may still hold statistics the user wants: this session never writes
// over it. A session that changed nothing in the store leaves the file as it is.
#pragma once

#include <cstdint>
#include <string>

#include "history/StatsCache.h"

class CStatsStore;

struct sCacheAtStart {
    std::string message;       // to tell the user at start; empty when there is nothing to tell
    bool mayBeWritten = true;  // false: the exit must not write the cache file
    uint64_t revision = 0;     // the store's revision right after the load
};

// From the load's outcome for the cache file `fileName` (the name the user is shown) and the
// store's revision after the load.
[[nodiscard]] sCacheAtStart CacheAtStart(const sCacheLoadOutcome& outcome,
                                         const std::string& fileName, uint64_t revision);

// Whether the exit writes the cache file: it may, the store changed since the load, and it
// holds hands and players. A store without them is never saved: the next load would reject the
// file, and it would have replaced a cache that a full reload with no history at hand emptied.
[[nodiscard]] bool SaveCacheAtExit(const sCacheAtStart& start, const CStatsStore& store);
