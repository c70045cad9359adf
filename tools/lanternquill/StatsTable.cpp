#include "tools/lanternquill/StatsTable.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "tools/lanternquill/TextEscape.h"
#include "tools/lanternquill/TextWidth.h"

namespace {

constexpr size_t kColumnGap = 2;
// The name column never shrinks below this, even when the lines then exceed the width.
constexpr size_t kMinNameColumns = 10;

struct sColumn {
    std::string_view header;
    bool leftAligned = false;
};

using Cells = std::vector<std::string>;

struct sFigureColumn {
    eStat stat;
    std::string_view header;
};

constexpr std::array<sFigureColumn, 6> kMainFigures = {{
    {eStat::VPIP, "VPIP"},
    {eStat::PFR, "PFR"},
    {eStat::ThreeBet, "3bet"},
    {eStat::FoldToThreeBet, "ft3bet"},
    {eStat::WTSD, "WTSD"},
    {eStat::WonSD, "W$SD"},
}};

constexpr std::array<sFigureColumn, 3> kStreetFigures = {{
    {eStat::Cbet, "cbet"},
    {eStat::FoldToCbet, "ftcbet"},
    {eStat::Aggression, "AF"},
}};

constexpr std::array<std::string_view, STREET_MAX> kStreetNames = {"flop", "turn", "river"};

// Writes the columns aligned: the first (the player's name) is cut with a "~" when the lines
// would otherwise be wider than `width`; numbers are right-aligned; no line ends in blanks.
void WriteColumns(std::ostream& out, const std::vector<sColumn>& columns, std::vector<Cells> lines,
                  size_t width) {
    std::vector<size_t> widths(columns.size(), 0);
    for (size_t i = 0; i < columns.size(); ++i) {
        widths[i] = DisplayWidth(columns[i].header);
    }
    for (const Cells& line : lines) {
        for (size_t i = 0; i < columns.size() && i < line.size(); ++i) {
            widths[i] = std::max(widths[i], DisplayWidth(line[i]));
        }
    }
    size_t others = 0;
    for (size_t i = 1; i < widths.size(); ++i) {
        others += kColumnGap + widths[i];
    }
    const size_t nameRoom = width > others ? width - others : 0;
    if (widths[0] > nameRoom) {
        widths[0] = std::max(nameRoom, kMinNameColumns);
        for (Cells& line : lines) {
            line[0] = FitToWidth(line[0], widths[0]);
        }
    }
    Cells header;
    for (const sColumn& column : columns) {
        header.emplace_back(column.header);
    }
    lines.insert(lines.begin(), std::move(header));
    for (const Cells& line : lines) {
        std::string text;
        for (size_t i = 0; i < columns.size() && i < line.size(); ++i) {
            const std::string padding(widths[i] - DisplayWidth(line[i]), ' ');
            if (i > 0) {
                text.append(kColumnGap, ' ');
            }
            text += columns[i].leftAligned ? line[i] + padding : padding + line[i];
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out << text << '\n';
    }
}

// The leading columns, then one right-aligned column per figure.
std::vector<sColumn> ColumnsOf(std::vector<sColumn> columns,
                               std::span<const sFigureColumn> figures) {
    for (const sFigureColumn& figure : figures) {
        columns.push_back({figure.header, false});
    }
    return columns;
}

std::string NameCell(const sStatsRow& row) {
    return PrintableText(row.name);
}

void WriteMainTable(std::ostream& out, const std::vector<sStatsRow>& rows, size_t width) {
    const std::vector<sColumn> columns =
        ColumnsOf({{"Player", true}, {"Hands", false}}, kMainFigures);
    std::vector<Cells> lines;
    for (const sStatsRow& row : rows) {
        Cells line = {NameCell(row), std::to_string(row.counters[CNT_HANDS])};
        for (const sFigureColumn& figure : kMainFigures) {
            line.push_back(TableCell(ComputeStat(figure.stat, row.counters)));
        }
        lines.push_back(std::move(line));
    }
    WriteColumns(out, columns, std::move(lines), width);
}

// One line per player and street; the name stands on the player's first line only.
void WriteStreetTable(std::ostream& out, const std::vector<sStatsRow>& rows, size_t width) {
    const std::vector<sColumn> columns =
        ColumnsOf({{"Player", true}, {"Street", true}}, kStreetFigures);
    std::vector<Cells> lines;
    for (const sStatsRow& row : rows) {
        for (const eStreet street : kStreets) {
            Cells line = {street == STREET_FLOP ? NameCell(row) : std::string(),
                          std::string(kStreetNames[street])};
            for (const sFigureColumn& figure : kStreetFigures) {
                line.push_back(TableCell(ComputeStat(figure.stat, row.counters, street)));
            }
            lines.push_back(std::move(line));
        }
    }
    WriteColumns(out, columns, std::move(lines), width);
}

}  // namespace

std::string TableCell(const sStatFigure& figure) {
    if (figure.num == 0 && figure.den == 0) {
        return "-";
    }
    if (figure.asNumber && figure.den != 0) {
        return FormatFixed(figure.value, 1);
    }
    return std::to_string(figure.num) + "/" + std::to_string(figure.den) + "*";
}

void WriteStatsTable(std::ostream& out, const std::vector<sStatsRow>& rows,
                     const sTableLayout& layout) {
    WriteMainTable(out, rows, layout.width);
    if (layout.streets) {
        out << '\n';
        WriteStreetTable(out, rows, layout.width);
    }
    if (rows.empty()) {
        return;
    }
    // Short lines, so that the legend too fits the narrowest table width.
    out << "\nFigures are percentages with one decimal.\n"
           "3/7*  3 times in 7 chances: too few for a percentage\n"
           "-     no chance yet\n"
           "~     ends a name cut to fit the width\n";
    if (layout.streets) {
        out << "AF    bets and raises per 100 passive actions\n"
               "      (folds, checks and calls)\n";
    }
}
