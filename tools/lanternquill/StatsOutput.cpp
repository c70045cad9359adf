#include "tools/lanternquill/StatsOutput.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "hud/StatFormulas.h"
#include "tools/lanternquill/StatsTable.h"
#include "tools/lanternquill/TextEscape.h"

namespace {

struct sStatColumn {
    eStat stat;
    eStreet street;
    std::string_view key;  // CSV and JSON name (per-street items add the street)
};

constexpr std::array<sStatColumn, 15> kStatColumns = {{
    {eStat::VPIP, STREET_FLOP, "vpip"},
    {eStat::PFR, STREET_FLOP, "pfr"},
    {eStat::ThreeBet, STREET_FLOP, "three_bet"},
    {eStat::FoldToThreeBet, STREET_FLOP, "fold_to_three_bet"},
    {eStat::WTSD, STREET_FLOP, "wtsd"},
    {eStat::WonSD, STREET_FLOP, "won_sd"},
    {eStat::Cbet, STREET_FLOP, "cbet"},
    {eStat::FoldToCbet, STREET_FLOP, "fold_to_cbet"},
    {eStat::Aggression, STREET_FLOP, "af"},
    {eStat::Cbet, STREET_TURN, "cbet"},
    {eStat::FoldToCbet, STREET_TURN, "fold_to_cbet"},
    {eStat::Aggression, STREET_TURN, "af"},
    {eStat::Cbet, STREET_RIVER, "cbet"},
    {eStat::FoldToCbet, STREET_RIVER, "fold_to_cbet"},
    {eStat::Aggression, STREET_RIVER, "af"},
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

// Empty without data (a denominator of 0): the overlay's AF of 100 for 0/0 is a display
// convention, not a figure.
std::string ValueText(const sStatFigure& figure) {
    return figure.den != 0 ? FormatFixed(figure.value, 2) : std::string();
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

void WriteStats(std::ostream& out, const std::vector<sStatsRow>& rows,
                const sStatsOptions& options) {
    switch (options.format) {
        case eOutputFormat::Table:
            WriteStatsTable(
                out, rows,
                {.streets = options.streets, .width = static_cast<size_t>(options.width)});
            break;
        case eOutputFormat::Csv:
            WriteStatsCsv(out, rows);
            break;
        case eOutputFormat::Json:
            WriteStatsJson(out, rows);
            break;
    }
}
