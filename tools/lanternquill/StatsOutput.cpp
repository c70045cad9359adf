#include "tools/lanternquill/StatsOutput.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "hud/StatFormulas.h"
#include "tools/lanternquill/TextEscape.h"

namespace {

struct sStatColumn {
    eStat stat;
    int street;
    std::string_view header;  // table header
    std::string_view key;     // CSV and JSON name (per-street items add the street)
};

constexpr std::array<sStatColumn, 15> kStatColumns = {{
    {eStat::VPIP, STREET_FLOP, "VPIP", "vpip"},
    {eStat::PFR, STREET_FLOP, "PFR", "pfr"},
    {eStat::ThreeBet, STREET_FLOP, "3bet", "three_bet"},
    {eStat::FoldToThreeBet, STREET_FLOP, "ft3bet", "fold_to_three_bet"},
    {eStat::WTSD, STREET_FLOP, "WTSD", "wtsd"},
    {eStat::WonSD, STREET_FLOP, "W$SD", "won_sd"},
    {eStat::Cbet, STREET_FLOP, "F cbet", "cbet"},
    {eStat::FoldToCbet, STREET_FLOP, "F ftcbet", "fold_to_cbet"},
    {eStat::Aggression, STREET_FLOP, "F AF", "af"},
    {eStat::Cbet, STREET_TURN, "T cbet", "cbet"},
    {eStat::FoldToCbet, STREET_TURN, "T ftcbet", "fold_to_cbet"},
    {eStat::Aggression, STREET_TURN, "T AF", "af"},
    {eStat::Cbet, STREET_RIVER, "R cbet", "cbet"},
    {eStat::FoldToCbet, STREET_RIVER, "R ftcbet", "fold_to_cbet"},
    {eStat::Aggression, STREET_RIVER, "R AF", "af"},
}};

constexpr std::array<std::string_view, STREET_MAX> kStreetKeys = {"flop", "turn", "river"};

sStatFigure FigureOf(const sStatsRow& row, const sStatColumn& column) {
    return ComputeStat(column.stat, row.counters, column.street);
}

std::string FlatKey(const sStatColumn& column) {
    std::string key;
    if (IsStreetStat(column.stat)) {
        key = std::string(kStreetKeys[column.street]) + "_";
    }
    key += column.key;
    return key;
}

std::string ValueText(const sStatFigure& figure) {
    return figure.hasValue ? FormatFixed(figure.value, 2) : std::string();
}

// --- table -------------------------------------------------------------------------------

using TableLine = std::vector<std::string>;

void WriteAligned(std::ostream& out, const std::vector<TableLine>& lines) {
    std::vector<size_t> widths;
    for (const TableLine& line : lines) {
        widths.resize(std::max(widths.size(), line.size()), 0);
        for (size_t i = 0; i < line.size(); ++i) {
            widths[i] = std::max(widths[i], DisplayWidth(line[i]));
        }
    }
    for (const TableLine& line : lines) {
        std::string text;
        for (size_t i = 0; i < line.size(); ++i) {
            const std::string padding(widths[i] - DisplayWidth(line[i]), ' ');
            if (i == 0) {
                // The name column is left-aligned; its padding is not needed at the line end.
                text += line[i];
                if (line.size() > 1) {
                    text += padding;
                }
            } else {
                text += "  " + padding + line[i];
            }
        }
        out << text << '\n';
    }
}

// "key": {"num": 1, "den": 3, "value": 33.33, "text": "1/3"}
void AppendJsonFigure(std::string& object, std::string_view key, const sStatFigure& figure) {
    const std::string value = ValueText(figure);
    object += '"';
    object += key;
    object += R"(": {"num": )";
    object += std::to_string(figure.num);
    object += R"(, "den": )";
    object += std::to_string(figure.den);
    object += R"(, "value": )";
    object += value.empty() ? "null" : value;
    object += R"(, "text": )";
    object += JsonString(StatText(figure));
    object += '}';
}

}  // namespace

void WriteStatsTable(std::ostream& out, const std::vector<sStatsRow>& rows) {
    std::vector<TableLine> lines;
    lines.reserve(rows.size() + 1);
    TableLine header = {"Player", "Hands"};
    for (const sStatColumn& column : kStatColumns) {
        header.emplace_back(column.header);
    }
    lines.push_back(std::move(header));
    for (const sStatsRow& row : rows) {
        TableLine line = {PrintableText(row.name), std::to_string(row.counters[CNT_HANDS])};
        for (const sStatColumn& column : kStatColumns) {
            line.push_back(StatText(FigureOf(row, column)));
        }
        lines.push_back(std::move(line));
    }
    WriteAligned(out, lines);
}

void WriteStatsCsv(std::ostream& out, const std::vector<sStatsRow>& rows) {
    std::string header = "player,hands";
    for (const sStatColumn& column : kStatColumns) {
        const std::string key = FlatKey(column);
        for (const char* suffix : {"", "_num", "_den"}) {
            header += ',';
            header += key;
            header += suffix;
        }
    }
    out << header << '\n';
    for (const sStatsRow& row : rows) {
        std::string line = CsvField(row.name);
        line += ',';
        line += std::to_string(row.counters[CNT_HANDS]);
        for (const sStatColumn& column : kStatColumns) {
            const sStatFigure figure = FigureOf(row, column);
            for (const std::string& field :
                 {ValueText(figure), std::to_string(figure.num), std::to_string(figure.den)}) {
                line += ',';
                line += field;
            }
        }
        out << line << '\n';
    }
}

void WriteStatsJson(std::ostream& out, const std::vector<sStatsRow>& rows) {
    out << '[';
    bool firstRow = true;
    for (const sStatsRow& row : rows) {
        std::string object = R"({"player": )";
        object += JsonString(row.name);
        object += R"(, "hands": )";
        object += std::to_string(row.counters[CNT_HANDS]);
        int openStreet = -1;  // the street whose object is open, -1 before the street items
        for (const sStatColumn& column : kStatColumns) {
            if (IsStreetStat(column.stat) && column.street != openStreet) {
                object += openStreet < 0 ? ", \"" : "}, \"";
                object += kStreetKeys[column.street];
                object += "\": {";
                openStreet = column.street;
            } else {
                object += ", ";
            }
            AppendJsonFigure(object, column.key, FigureOf(row, column));
        }
        if (openStreet >= 0) {
            object += '}';
        }
        object += '}';
        out << (firstRow ? "\n  " : ",\n  ") << object;
        firstRow = false;
    }
    out << (rows.empty() ? "]\n" : "\n]\n");
}

void WriteStats(std::ostream& out, const std::vector<sStatsRow>& rows, eOutputFormat format) {
    switch (format) {
        case eOutputFormat::Table:
            WriteStatsTable(out, rows);
            break;
        case eOutputFormat::Csv:
            WriteStatsCsv(out, rows);
            break;
        case eOutputFormat::Json:
            WriteStatsJson(out, rows);
            break;
    }
}
