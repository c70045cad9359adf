// Writes the rows of the stats command as a terminal table (StatsTable.h), as CSV or as JSON.
#pragma once

#include <ostream>
#include <vector>

#include "tools/lanternquill/CommandLine.h"
#include "tools/lanternquill/StatsRows.h"

// Header line, then per player: name, hands, and for every item its value (2 decimals, empty
// when the denominator is 0), numerator and denominator.
void WriteStatsCsv(std::ostream& out, const std::vector<sStatsRow>& rows);

// An array with one object per player; the per-street items are grouped under "flop", "turn"
// and "river". Each item is {"num", "den", "value" (null when the denominator is 0), "text" (the
// overlay's text)}.
void WriteStatsJson(std::ostream& out, const std::vector<sStatsRow>& rows);

void WriteStats(std::ostream& out, const std::vector<sStatsRow>& rows,
                const sStatsOptions& options);
