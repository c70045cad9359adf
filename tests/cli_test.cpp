// Drives the built lanternquill executable on small hand-written hand histories.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "LanternquillVersion.h"
#include "history/CacheLock.h"
#include "platform/NamedLock.h"
#include "tests/TestSupport.h"

using testing_support::ReadFile;
using testing_support::ScopedTempDir;
using testing_support::WriteFile;

namespace {

// Hold'em at $0.25/$0.50 (50NL), three seats. Hand 1001: Alice opens and c-bets, Carol folds to
// it. Hand 1002: Bob opens, Carol three-bets and c-bets, Bob calls down and wins the showdown.
constexpr const char* kTableA = R"(Table #7 - Alder
Game Type: HOLD'EM
Limit Type: NO LIMIT
Blinds are now $0.25/$0.50
Starting Hand #1001
Seat 1: Alice - $50
Seat 2: Bob - $50
Seat 3: Carol - $50
Moving Button to seat 1
Bob posts small blind ($0.25)
Carol posts big blind ($0.50)
Alice raises to $1.50
Bob folds
Carol calls $1
Dealing Flop [2c][3d][4h]
Carol checks
Alice bets $2
Carol folds
Alice wins $3.25
End Of Hand #1001
Starting Hand #1002
Seat 1: Alice - $51
Seat 2: Bob - $49
Seat 3: Carol - $48
Moving Button to seat 2
Carol posts small blind ($0.25)
Alice posts big blind ($0.50)
Bob raises to $1.50
Carol raises to $5
Alice folds
Bob calls $3.50
Dealing Flop [5c][9d][Kh]
Carol bets $6
Bob calls $6
Dealing Turn [2s]
Carol checks
Bob checks
Dealing River [7s]
Carol checks
Bob bets $10
Carol calls $10
Carol has One Pair: Nines
Bob has Two Pairs: Kings, 9s
Bob wins $41.50 with: Two Pairs
End Of Hand #1002
)";

// Omaha at $1/$2 (200NL), heads-up: Dave opens, Alice folds.
constexpr const char* kTableB = R"(Table #8 - Birch
Game Type: OMAHA
Blinds are now $1/$2
Starting Hand #2001
Seat 1: Alice - $200
Seat 2: Dave - $200
Moving Button to seat 2
Dave raises to $6
Alice folds
Dave wins $4
End Of Hand #2001
)";

struct sRun {
    int status = -1;
    std::string out;
    std::string err;
};

// The rows of CSV output by player name, each a map from column name to field.
using CsvRows = std::map<std::string, std::map<std::string, std::string>>;

std::vector<std::string> SplitCsvLine(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

[[maybe_unused]] std::string WithoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.Path() / "history" / "older");
        WriteFile(HistoryFile("Alder.txt"), kTableA);
        WriteFile((dir.Path() / "history" / "older" / "Birch.txt").string(), kTableB);
        WriteFile(HistoryFile("notes.text"), kTableB);  // not a hand history file name
    }

    std::string HistoryFile(const std::string& name) const {
        return (dir.Path() / "history" / name).string();
    }

    // Runs the tool in the temporary folder, so the default cache file lands there.
    sRun Run(const std::string& args) const {
        const std::string outFile = dir.File("stdout.txt");
        const std::string errFile = dir.File("stderr.txt");
#ifdef _WIN32
        const std::string command = "cd /d \"" + dir.Path().string() +
                                    "\" && \"" LQ_CLI_PATH "\" " + args + " >\"" + outFile +
                                    "\" 2>\"" + errFile + "\"";
#else
        const std::string command = "cd '" + dir.Path().string() + "' && '" LQ_CLI_PATH "' " +
                                    args + " >'" + outFile + "' 2>'" + errFile + "'";
#endif
        const int raw = std::system(command.c_str());
        sRun run;
#ifdef _WIN32
        run.status = raw;
#else
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
        run.out = ReadFile(outFile);
        run.err = ReadFile(errFile);
#ifdef _WIN32
        // The tool writes text mode output: lines end in CR LF on Windows.
        run.out = WithoutCarriageReturns(run.out);
        run.err = WithoutCarriageReturns(run.err);
#endif
        return run;
    }

    void Import() {
        const sRun run = Run("import history");
        ASSERT_EQ(run.status, 0) << run.err;
    }

    CsvRows StatsCsv(const std::string& args = "") const {
        const sRun run = Run("stats --format csv " + args);
        EXPECT_EQ(run.status, 0) << run.err;
        const std::vector<std::string> lines = Lines(run.out);
        CsvRows rows;
        if (lines.empty()) {
            ADD_FAILURE() << "no CSV header";
            return rows;
        }
        const std::vector<std::string> header = SplitCsvLine(lines[0]);
        for (size_t i = 1; i < lines.size(); ++i) {
            const std::vector<std::string> fields = SplitCsvLine(lines[i]);
            EXPECT_EQ(fields.size(), header.size()) << lines[i];
            for (size_t f = 0; f < fields.size() && f < header.size(); ++f) {
                rows[fields[0]][header[f]] = fields[f];
            }
        }
        return rows;
    }

    std::string CacheFile() const {
        return dir.File("LanternquillCache_Trial.dat");
    }

    ScopedTempDir dir;
};

TEST_F(CliTest, ImportThenStatsShowsTheCountedNumbers) {
    const sRun import = Run("import history");
    ASSERT_EQ(import.status, 0) << import.err;
    EXPECT_NE(import.out.find("Imported 2 files: 3 new hands, 4 players (4 new)"),
              std::string::npos)
        << import.out;
    EXPECT_TRUE(std::filesystem::exists(CacheFile()));

    CsvRows rows = StatsCsv();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows["Alice"]["hands"], "3");  // both games summed
    EXPECT_EQ(rows["Alice"]["vpip"], "33.33");
    EXPECT_EQ(rows["Alice"]["flop_cbet_num"], "1");
    EXPECT_EQ(rows["Alice"]["flop_cbet_den"], "1");
    EXPECT_EQ(rows["Bob"]["fold_to_three_bet_den"], "1");
    EXPECT_EQ(rows["Bob"]["won_sd_num"], "1");
    EXPECT_EQ(rows["Bob"]["river_af_num"], "1");
    EXPECT_EQ(rows["Bob"]["river_af"], "") << "AF without passive actions has no value";
    EXPECT_EQ(rows["Carol"]["vpip"], "100.00");
    EXPECT_EQ(rows["Carol"]["three_bet_num"], "1");
    EXPECT_EQ(rows["Carol"]["three_bet_den"], "2");
    EXPECT_EQ(rows["Carol"]["flop_fold_to_cbet_num"], "1");
    EXPECT_EQ(rows["Carol"]["turn_cbet_den"], "1");
    EXPECT_EQ(rows["Carol"]["wtsd"], "50.00");
    EXPECT_EQ(rows["Carol"]["won_sd"], "0.00");
    EXPECT_EQ(rows["Dave"]["pfr"], "100.00");
    EXPECT_EQ(rows["Dave"]["wtsd"], "") << "no value without a flop seen";

    rows = StatsCsv("--game omaha --size hu");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows["Alice"]["hands"], "1");
    EXPECT_EQ(rows["Alice"]["three_bet_den"], "1");
    EXPECT_EQ(StatsCsv("--game holdem --size 7-10").size(), 0u);
}

TEST_F(CliTest, StakeSelectionPoolsNoLimitLevelsOnlyWhenAsked) {
    Import();
    // 2 hands at 50NL and 1 at 200NL: all of them no-limit levels.
    EXPECT_EQ(StatsCsv()["Alice"]["hands"], "3") << "every level counted once";
    EXPECT_EQ(StatsCsv("--stake 10nl")["Alice"]["hands"], "3");
    EXPECT_EQ(StatsCsv("--stake 50NL --split-stakes")["Alice"]["hands"], "2");
    EXPECT_EQ(StatsCsv("--stake 10NL --split-stakes").size(), 0u);
    EXPECT_EQ(StatsCsv("--stake other").size(), 0u);
    EXPECT_EQ(StatsCsv("--stake \"play money\"").size(), 0u);
}

TEST_F(CliTest, RowsAreOrderedByHandsThenNameAndFiltered) {
    Import();
    const sRun run = Run("stats --format csv --min-hands 2");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].substr(0, 8), "Alice,3,");
    EXPECT_EQ(lines[2].substr(0, 6), "Bob,2,");
    EXPECT_EQ(lines[3].substr(0, 8), "Carol,2,");

    // A player asked for by name is listed even without hands in the selection.
    const CsvRows dave = StatsCsv("--player Dave --game holdem");
    ASSERT_EQ(dave.size(), 1u);
    EXPECT_EQ(dave.at("Dave").at("hands"), "0");
}

TEST_F(CliTest, TableShowsTheHudTexts) {
    Import();
    const sRun run = Run("stats --game holdem --streets");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_GE(lines.size(), 13u) << run.out;
    // Each number alone under its header, one decimal; too few chances give a marked count.
    EXPECT_EQ(lines[0], "Player  Hands   VPIP   PFR  3bet  ft3bet  WTSD  W$SD");
    EXPECT_EQ(lines[2], "Bob         2   50.0  50.0  0/1*    0/1*  1/1*  1/1*");
    EXPECT_EQ(lines[3], "Carol       2  100.0  50.0  1/2*       -  1/2*  0/1*");
    // The second table: one line per street, "-" where the player had no chance at all.
    EXPECT_EQ(lines[5], "Player  Street  cbet  ftcbet    AF");
    EXPECT_EQ(lines[6], "Alice   flop    1/1*       -  1/0*");
    EXPECT_EQ(lines[7], "        turn       -       -     -");
    EXPECT_EQ(lines[14], "        river      -       -  0/1*");
    EXPECT_NE(run.out.find("\n3/7*  3 times in 7 chances"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nAF    bets and raises per 100 passive actions"), std::string::npos);
    for (const std::string& line : lines) {
        EXPECT_FALSE(line.ends_with(' ')) << line;
    }
}

TEST_F(CliTest, TableAlignsWideNamesAndFitsTheWidth) {
    const std::string longName(120, 'x');
    WriteFile(HistoryFile("Cedar.txt"),
              "Table #9 - Cedar\nGame Type: HOLD'EM\n"
              "Starting Hand #3001\nSeat 1: \xE6\x9D\x8E\xE9\x9B\xB7 - $10\n"
              "Seat 2: " +
                  longName +
                  " - $10\nMoving Button to seat 1\n"
                  "\xE6\x9D\x8E\xE9\x9B\xB7 calls $1\n" +
                  longName + " checks\nEnd Of Hand #3001\n");
    Import();
    sRun run = Run("stats --stake other");
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> lines = Lines(run.out);
    ASSERT_GE(lines.size(), 3u) << run.out;
    // The CJK name is four terminal columns wide (six bytes): padded like a four-letter name.
    EXPECT_EQ(lines[1], std::string(24, 'x') + "      1    0.0  0.0     -       -     -     -");
    EXPECT_EQ(lines[2], "\xE6\x9D\x8E\xE9\x9B\xB7" + std::string(26, ' ') +
                            "1  100.0  0.0     -       -     -     -");

    run = Run("stats --stake other --width 60");
    ASSERT_EQ(run.status, 0) << run.err;
    lines = Lines(run.out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], std::string(14, 'x') + "~      1    0.0  0.0     -       -     -     -");
    EXPECT_EQ(lines[1].size(), 60u);
}

TEST_F(CliTest, NamesAreEscapedInCsvAndJson) {
    WriteFile(HistoryFile("Cedar.txt"), R"(Table #9 - Cedar
Game Type: HOLD'EM
Starting Hand #3001
Seat 1: Ann, "Dr" \Who - $10
Seat 2: Eve - $10
Moving Button to seat 1
Ann, "Dr" \Who calls $1
Eve checks
End Of Hand #3001
)");
    Import();
    EXPECT_EQ(StatsCsv("--stake Other").count("Ann, \"Dr\" \\Who"), 1u);
    const sRun json = Run("stats --format json --stake other --player \"Eve\"");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_TRUE(json.out.starts_with("[\n  {\"player\": \"Eve\", \"hands\": 1, \"vpip\": {"))
        << json.out;
    const sRun all = Run("stats --format json --stake other");
    EXPECT_NE(all.out.find(R"("player": "Ann, \"Dr\" \\Who")"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find(R"("vpip": {"num": 1, "den": 1, "value": 100.00, "text": "100.0"})"),
              std::string::npos);
}

TEST_F(CliTest, ReimportAddsNothingUntilAFileGrows) {
    Import();
    sRun again = Run("import history");
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find(" 0 new hands, 4 players (0 new)"), std::string::npos) << again.out;

    // A new hand appended; the file's time moves on as the client's writes would move it.
    const std::string alder = HistoryFile("Alder.txt");
    WriteFile(alder, std::string(kTableA) + R"(Starting Hand #1003
Seat 1: Alice - $50
Seat 2: Bob - $50
Seat 3: Carol - $50
Moving Button to seat 3
Alice folds
Bob folds
Carol wins $0.50
End Of Hand #1003
)");
    std::filesystem::last_write_time(
        alder, std::filesystem::last_write_time(alder) + std::chrono::seconds(5));
    again = Run("import history");
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("Imported 1 file: 1 new hand, 4 players"), std::string::npos)
        << again.out;
    EXPECT_EQ(StatsCsv()["Alice"]["hands"], "4");
    EXPECT_EQ(StatsCsv()["Carol"]["hands"], "2") << "Carol made no preflop action word";
}

TEST_F(CliTest, FiguresWithoutDataAreEmptyOrNull) {
    Import();
    // Dave never saw a flop: every flop figure is 0/0, aggression included.
    const CsvRows rows = StatsCsv();
    for (const char* key : {"wtsd", "flop_cbet", "flop_fold_to_cbet", "flop_af", "river_af"}) {
        EXPECT_EQ(rows.at("Dave").at(key), "") << key;
    }
    const sRun json = Run("stats --format json --player Dave");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find(R"("af": {"num": 0, "den": 0, "value": null, )"), std::string::npos)
        << json.out;
    EXPECT_EQ(json.out.find(R"("den": 0, "value": 1)"), std::string::npos)
        << "no AF of 100 for 0/0";
}

TEST_F(CliTest, ImportCountsOnlyFilesThatGaveHands) {
    WriteFile(HistoryFile("Empty.txt"), "");
    WriteFile(HistoryFile("Lobby.txt"), "Table #9 - Cedar\nGame Type: HOLD'EM\n");
    const sRun first = Run("import history");
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out.find("Imported 2 files: 3 new hands, 4 players (4 new)"), std::string::npos)
        << first.out;
    EXPECT_NE(first.out.find("\n2 files were read without a new hand"), std::string::npos)
        << first.out;

    // One file with one hand: every count in the singular.
    std::filesystem::create_directories(dir.Path() / "single");
    WriteFile(dir.File("single/Cedar.txt"), R"(Table #9 - Cedar
Game Type: HOLD'EM
Starting Hand #3001
Seat 1: Zed - $10
Seat 2: Alice - $10
Moving Button to seat 1
Zed folds
End Of Hand #3001
)");
    const sRun second = Run("import --cache single.dat single");
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.out.find("Imported 1 file: 1 new hand, 2 players (2 new)"), std::string::npos)
        << second.out;
}

TEST_F(CliTest, VersionIsTheProgramsVersion) {
    const sRun run = Run("--version");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "lanternquill " + std::string(kVersionText) + "\n");
    EXPECT_EQ(Run("--version extra").status, 2);
}

TEST_F(CliTest, BadCommandLinesExitWithUsageStatus) {
    for (const char* args :
         {"", "frob", "import", "import --weeks 0 history", "import --weeks 1000 history",
          "import --weeks 4x history", "import --cache", "import --frob history",
          "stats --format xml", "stats --game poker", "stats --stake 5NL", "stats --size 2-4",
          "stats --min-hands -1", "stats --split-stakes=yes", "stats extra", "dump", "dump a b"}) {
        const sRun run = Run(args);
        EXPECT_EQ(run.status, 2) << "'" << args << "'";
        EXPECT_FALSE(run.err.empty()) << "'" << args << "'";
        EXPECT_TRUE(run.out.empty()) << "'" << args << "'";
    }
    const sRun help = Run("stats --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, 6), "Usage:");
}

TEST_F(CliTest, FailuresAreReportedWithStatusOne) {
    const sRun noCache = Run("stats");
    EXPECT_EQ(noCache.status, 1);
    EXPECT_NE(noCache.err.find("LanternquillCache_Trial.dat"), std::string::npos);

    const sRun missingFolder = Run("import history nowhere");
    EXPECT_EQ(missingFolder.status, 1);
    EXPECT_NE(missingFolder.err.find("'nowhere'"), std::string::npos) << missingFolder.err;
    EXPECT_FALSE(std::filesystem::exists(CacheFile())) << "nothing imported before the check";

    Import();
    const sRun unknown = Run("stats --player alice");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("no player named 'alice'"), std::string::npos) << unknown.err;
}

TEST_F(CliTest, MalformedCacheIsKeptAsItIsByStatsAndSetAsideByImport) {
    const std::string cut = "Lanternquill_DEMOCACHEO05\n";  // a cache cut after its first line
    WriteFile(CacheFile(), cut);
    const sRun stats = Run("stats");
    EXPECT_EQ(stats.status, 1);
    EXPECT_NE(stats.err.find("is malformed (it has been left as it is)"), std::string::npos)
        << stats.err;
    EXPECT_EQ(ReadFile(CacheFile()), cut);

    const sRun import = Run("import history");
    EXPECT_EQ(import.status, 0) << import.err;
    const std::string movedTo = "was malformed; it has been moved to '";
    const size_t named = import.err.find(movedTo);
    ASSERT_NE(named, std::string::npos) << import.err;
    // The message names the file it was kept as, which holds the damaged cache.
    const size_t start = named + movedTo.size();
    const std::string keptAs = import.err.substr(start, import.err.find('\'', start) - start);
    EXPECT_TRUE(keptAs.starts_with("LanternquillCache_Trial.dat.rejected-")) << keptAs;
    EXPECT_EQ(import.err.find("discarded"), std::string::npos) << import.err;
    EXPECT_EQ(ReadFile((dir.Path() / keptAs).string()), cut);
    EXPECT_NE(import.out.find(" 3 new hands"), std::string::npos) << import.out;
    EXPECT_EQ(StatsCsv()["Alice"]["hands"], "3");
}

// Whatever --cache names by mistake, nothing of the user's is written over, moved or removed,
// and the messages say only what happened.
TEST_F(CliTest, ImportRefusesToWriteOverAnythingButACacheFile) {
    const std::string alder = HistoryFile("Alder.txt");
    sRun run = Run("import --cache history/Alder.txt history");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("'history/Alder.txt' is not a Lanternquill cache file"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("discarded"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(alder), kTableA);
    EXPECT_FALSE(std::filesystem::exists(alder + ".rejected"));
    EXPECT_FALSE(std::filesystem::exists(alder + ".tmp"));

    const std::filesystem::path folder = dir.Path() / "empty folder";
    std::filesystem::create_directory(folder);
    run = Run("import --cache \"empty folder\" history");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("'empty folder' is a folder"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::is_empty(folder));

    // stats and dump on the same things: reported, never changed.
    for (const char* args : {"stats --cache history/Alder.txt", "dump history/Alder.txt",
                             "stats --cache \"empty folder\"", "dump \"empty folder\""}) {
        run = Run(args);
        EXPECT_EQ(run.status, 1) << args;
        EXPECT_NE(run.err.find("left as it is"), std::string::npos) << args << ": " << run.err;
    }
    EXPECT_EQ(ReadFile(alder), kTableA);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"empty folder", "history", "stderr.txt", "stdout.txt"}));

    // An empty file holds nothing: it counts as no cache and becomes one.
    WriteFile(CacheFile(), "");
    run = Run("import history");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_EQ(StatsCsv()["Alice"]["hands"], "3");
}

TEST_F(CliTest, AWriteThatFailsSaysWhy) {
    const sRun run = Run("import --cache nowhere/cache.dat history");
    EXPECT_EQ(run.status, 1);
#ifdef _WIN32
    // In the system's words ("The system cannot find the path specified").
    const std::string reason = "cannot write the cache file 'nowhere/cache.dat': ";
    const size_t at = run.err.find(reason);
    ASSERT_NE(at, std::string::npos) << run.err;
    EXPECT_GT(run.err.size(), at + reason.size() + 1) << run.err;
#else
    EXPECT_NE(run.err.find("cannot write the cache file 'nowhere/cache.dat': No such file or "
                           "directory"),
              std::string::npos)
        << run.err;
#endif
}

TEST_F(CliTest, DumpListsEveryNonZeroCounter) {
    Import();
    const sRun run = Run("dump LanternquillCache_Trial.dat");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "hands: 3");
    EXPECT_EQ(lines[1], "players: 4");
    EXPECT_EQ(lines[2], "file-cache entries: 2");
    const std::string carolThreeBet = "\tCarol\tholdem\t50NL\t3-6\tPF3BET\t1";
    const std::string daveRaise = "\tDave\tomaha\t200NL\thu\tPFR\t1";
    int carolLines = 0;
    bool sawThreeBet = false;
    bool sawDave = false;
    for (const std::string& line : lines) {
        EXPECT_NE(line.substr(line.size() - 2), "\t0") << "zero counters are left out";
        carolLines += line.find("\tCarol\t") != std::string::npos ? 1 : 0;
        sawThreeBet = sawThreeBet || line.find(carolThreeBet) != std::string::npos;
        sawDave = sawDave || line.find(daveRaise) != std::string::npos;
    }
    // Hands, VPIP, PFR, PF3BET, PFNO3BET, SAWFLOP, FLOPFOLD, FLOPBET, FLOPCBET, FLOPFOLDTOCBET,
    // TURNCHECK, TURNNOCBET, RIVERCALL, SHOWDOWN.
    EXPECT_EQ(carolLines, 14);
    EXPECT_TRUE(sawThreeBet);
    EXPECT_TRUE(sawDave);
}

TEST_F(CliTest, DumpKeepsAMalformedFile) {
    const std::string broken = dir.File("broken.dat");
    WriteFile(broken, "Lanternquill_DEMOCACHEO05\n");
    const sRun run = Run("dump broken.dat");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("malformed"), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(broken), "Lanternquill_DEMOCACHEO05\n");
}

#ifdef _WIN32
// The lock the program holds on its cache, as another process meets it: the tool refuses under
// another spelling of the same file, and imports once the lock is free.
TEST_F(CliTest, ImportIsRefusedWhileAnotherProcessHasTheCacheLoaded) {
    CSystemNamedLocks locks;
    sLockAttempt program = LockCacheFile(locks, CacheFile());
    ASSERT_EQ(program.outcome, eLockOutcome::Taken);
    const sRun refused = Run("import --cache lanternquillcache_trial.DAT history");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("is in use by Lanternquill.exe"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(CacheFile()));

    program.held.reset();
    Import();
    EXPECT_EQ(StatsCsv()["Alice"]["hands"], "3");
}
#endif

}  // namespace
