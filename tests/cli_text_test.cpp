// The command-line tool's text helpers and terminal output: display widths of names from hand
// history files, the stats table's cells and width, and the import's progress bar.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/lanternquill/ImportFiles.h"
#include "tools/lanternquill/StatsTable.h"
#include "tools/lanternquill/TerminalProgress.h"
#include "tools/lanternquill/TextWidth.h"

namespace {

const std::string kCjk = "\xE6\x9D\x8E\xE9\x9B\xB7";               // two CJK ideographs
const std::string kEmoji = "\xF0\x9F\x98\x80";                     // U+1F600
const std::string kAccent = "e\xCC\x81";                           // e + combining acute
const std::string kThumbsUp = "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD";  // emoji + skin tone

TEST(DisplayWidth, CountsTerminalColumns) {
    EXPECT_EQ(DisplayWidth(""), 0u);
    EXPECT_EQ(DisplayWidth("Alice"), 5u);
    EXPECT_EQ(DisplayWidth(kCjk), 4u);
    EXPECT_EQ(DisplayWidth("a" + kEmoji + "b"), 4u);
    EXPECT_EQ(DisplayWidth(kAccent), 1u);
    EXPECT_EQ(DisplayWidth(kThumbsUp), 2u);
    EXPECT_EQ(DisplayWidth("\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD"), 4u);  // Cyrillic "Ivan"
    EXPECT_EQ(DisplayWidth("\xEF\xBC\xA1"), 2u);                      // full-width A
}

TEST(DisplayWidth, TakesEachStrayByteAsOneColumn) {
    // An 8-bit code page name (Latin-1 "Jose" with e acute), a cut sequence, overlong and
    // surrogate forms: one column per byte, nothing read past the end.
    EXPECT_EQ(DisplayWidth("Jos\xE9"), 4u);
    EXPECT_EQ(DisplayWidth(kCjk.substr(0, 4)), 3u);  // one ideograph and a cut one
    EXPECT_EQ(DisplayWidth("\xC0\xAF"), 2u);
    EXPECT_EQ(DisplayWidth("\xED\xA0\x80"), 3u);
    EXPECT_EQ(DisplayWidth(std::string("\xF0\x9F", 2)), 2u);
}

TEST(FitToWidth, CutsBetweenCharactersAndMarksTheCut) {
    EXPECT_EQ(FitToWidth("Alice", 5), "Alice");
    EXPECT_EQ(FitToWidth("Alice", 4), "Ali~");
    EXPECT_EQ(FitToWidth("Alice", 4, eKeep::End), "~ice");
    // A wide character that does not fit whole is left out rather than split.
    EXPECT_EQ(FitToWidth(kCjk + "x", 4), "\xE6\x9D\x8E~");
    EXPECT_EQ(FitToWidth("x" + kCjk, 4, eKeep::End), "~\xE9\x9B\xB7");
    EXPECT_EQ(FitToWidth("Jos\xE9 Maria", 5), "Jos\xE9~");
    for (const std::string& text : {kCjk + kEmoji + "abc", std::string("\xFF\xFE\xC3"), kAccent}) {
        for (size_t columns = 1; columns < 10; ++columns) {
            EXPECT_LE(DisplayWidth(FitToWidth(text, columns)), columns);
            EXPECT_LE(DisplayWidth(FitToWidth(text, columns, eKeep::End)), columns);
        }
    }
}

sStatFigure Figure(eStat stat, int64_t num, int64_t den) {
    CounterTotals counters{};
    if (stat == eStat::Aggression) {
        counters[StreetCounter(STREET_FLOP, STREET_BET)] = static_cast<int32_t>(num);
        counters[StreetCounter(STREET_FLOP, STREET_CALL)] = static_cast<int32_t>(den);
    } else {
        counters[CNT_PF3BET] = static_cast<int32_t>(num);
        counters[CNT_PFNO3BET] = static_cast<int32_t>(den - num);
    }
    return ComputeStat(stat, counters, STREET_FLOP);
}

TEST(TableCell, PercentWithOneDecimalOrAMarkedCount) {
    EXPECT_EQ(TableCell(Figure(eStat::ThreeBet, 3, 20)), "15.0");
    EXPECT_EQ(TableCell(Figure(eStat::ThreeBet, 3, 7)), "3/7*");
    EXPECT_EQ(TableCell(Figure(eStat::ThreeBet, 0, 0)), "-");
    // Aggression on the overlay's scale (per 100 passive actions), one decimal like the rest;
    // 0/0 is no data, not the overlay's 100.
    EXPECT_EQ(TableCell(Figure(eStat::Aggression, 24, 10)), "240.0");
    EXPECT_EQ(TableCell(Figure(eStat::Aggression, 0, 0)), "-");
    EXPECT_EQ(TableCell(Figure(eStat::Aggression, 12, 0)), "12/0*");
}

TEST(StatsTable, LongAndWideNamesKeepTheLinesWithinTheWidth) {
    const std::string longName = std::string(60, 'L') + kCjk;
    std::vector<sStatsRow> rows(2);
    rows[0].name = longName;
    rows[0].counters[CNT_HANDS] = 1234567;
    const std::string wideName = kEmoji + kCjk;
    rows[1].name = wideName;
    rows[1].counters[CNT_HANDS] = 1;
    for (const size_t width : {size_t{100}, size_t{60}}) {  // the default and the narrowest
        std::ostringstream out;
        WriteStatsTable(out, rows, {.streets = true, .width = width});
        std::istringstream lines(out.str());
        size_t count = 0;
        for (std::string line; std::getline(lines, line); ++count) {
            EXPECT_LE(DisplayWidth(line), width) << line;
        }
        EXPECT_GT(count, 10u);
        EXPECT_NE(out.str().find(kEmoji + kCjk + "  "), std::string::npos) << "kept whole";
    }
}

TEST(TerminalProgress, NeverMovesBackwardsWithinAStage) {
    std::ostringstream out;
    {
        CTerminalProgress progress(out, /*enabled=*/true);
        progress.SetLabel("Reading");
        progress.SetRange(0, 100);
        progress.SetPos(1);
        progress.SetPos(0);  // the order the parser used to report in
        progress.SetPos(50);
        progress.SetPos(20);
        progress.SetPos(100);
    }
    std::vector<int> shown;
    const std::string text = out.str();
    for (size_t at = text.find("] "); at != std::string::npos; at = text.find("] ", at + 1)) {
        shown.push_back(std::stoi(text.substr(at + 2)));
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 50, 100})) << text;

    std::ostringstream quiet;
    CTerminalProgress off(quiet, /*enabled=*/false);
    off.SetLabel("Reading");
    off.SetPos(5);
    EXPECT_TRUE(quiet.str().empty());
}

TEST(TerminalProgress, WideFolderNamesKeepTheBarInPlace) {
    std::ostringstream narrow;
    std::ostringstream wide;
    CTerminalProgress(narrow, true).SetLabel("Scanning /home/user/history");
    std::string cjkPath = "Scanning /home/";
    for (int i = 0; i < 20; ++i) {
        cjkPath += kCjk;
    }
    CTerminalProgress(wide, true).SetLabel(cjkPath);
    const auto barColumn = [](const std::string& text) {
        const std::string line = text.substr(1, text.find('[') - 1);
        return DisplayWidth(line);
    };
    EXPECT_EQ(barColumn(wide.str()), barColumn(narrow.str()));
}

TEST(ImportSummary, CountsInTheSingularAndPlural) {
    sImportFigures figures;
    figures.tally = {.importedFiles = 1, .skippedFiles = 0, .unreadFiles = {}};
    figures.newHands = 1;
    figures.players = 1;
    figures.newPlayers = 1;
    EXPECT_TRUE(
        ImportSummary(figures).starts_with("Imported 1 file: 1 new hand, 1 player (1 new)"));
    figures.tally = {.importedFiles = 0, .skippedFiles = 1, .unreadFiles = {}};
    figures.newHands = 0;
    EXPECT_NE(ImportSummary(figures).find("\n1 file was read without a new hand"),
              std::string::npos);
}

}  // namespace
