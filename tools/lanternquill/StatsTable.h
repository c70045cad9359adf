// The stats command's terminal table: each number alone under its header, percentages with one
// decimal, a marked "times/chances" where the sample is too small for a percentage, and lines
// that fit the terminal width. The overlay's own texts (hud/StatFormulas) are not used here:
// they carry their names and follow the overlay's conventions.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "hud/StatFormulas.h"
#include "tools/lanternquill/StatsRows.h"

struct sTableLayout {
    bool streets = false;  // add the flop, turn and river figures as a second table
    size_t width = 100;    // the widest line, in terminal columns
};

// A figure's cell: "23.5" (a percentage; AF as bets and raises per 100 passive actions),
// "3/7*" (times/chances, the mark saying the sample is too small for a percentage), or "-" when
// there was no chance at all.
[[nodiscard]] std::string TableCell(const sStatFigure& figure);

// The table(s), then a legend of the marks when there is at least one row.
void WriteStatsTable(std::ostream& out, const std::vector<sStatsRow>& rows,
                     const sTableLayout& layout);
