// The stats command: per-player statistics from the cache file.
#pragma once

#include <ostream>

#include "tools/lanternquill/CommandLine.h"

// Returns the process exit status.
int RunStats(const sStatsOptions& options, std::ostream& out, std::ostream& err);
