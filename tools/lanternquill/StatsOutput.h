// Writes the rows of the stats command as an aligned table (the HUD's texts), as CSV or as JSON.
#pragma once

#include <ostream>
#include <vector>

#include "tools/lanternquill/CommandLine.h"
#include "tools/lanternquill/StatsRows.h"

void WriteStatsTable(std::ostream& out, const std::vector<sStatsRow>& rows);

// Header line, then per player: name, hands, and for every item its value (2 decimals, empty
// when undefined), numerator and denominator.
void WriteStatsCsv(std::ostream& out, const std::vector<sStatsRow>& rows);

// An array with one object per player; the per-street items are grouped under "flop", "turn"
// and "river". Each item is {"num", "den", "value" (null when undefined), "text"}.
void WriteStatsJson(std::ostream& out, const std::vector<sStatsRow>& rows);

void WriteStats(std::ostream& out, const std::vector<sStatsRow>& rows, eOutputFormat format);
