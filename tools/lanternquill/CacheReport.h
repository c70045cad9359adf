// Loading the cache file for a command, with the messages the user sees when it fails.
#pragma once

#include <ostream>
#include <string>

#include "history/StatsCache.h"

class CStatsStore;

// Loads `fileName` into `store`. A malformed file is deleted by the load (kept when
// `keepRejected`) and reported on `err`; a file that cannot be opened is reported only when
// `reportMissing`.
eCacheLoad LoadCacheReporting(CStatsStore& store, const std::string& fileName, std::ostream& err,
                              bool reportMissing, bool keepRejected = false);
