// The simulator as a tool: its command line, the files it writes and the variety of play the
// truth test relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "ExpectedCounters.h"
#include "SimArguments.h"
#include "Simulator.h"
#include "history/HistoryParser.h"
#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::ScopedTempDir;

// Runs a shell command line. cmd.exe drops the first and the last quote of a line that starts
// with one, so there the whole line goes in one more pair of quotes.
int RunShell(const std::string& command) {
#ifdef _WIN32
    return std::system(("\"" + command + "\"").c_str());
#else
    return std::system(command.c_str());
#endif
}

pkrsim::eArgsResult Parse(const std::vector<std::string>& args, pkrsim::sSimOptions& options,
                          std::string& error) {
    return pkrsim::ParseSimArguments(args, options, error);
}

TEST(SimArguments, ReadsEveryOptionInBothSpellings) {
    pkrsim::sSimOptions options;
    std::string error;
    ASSERT_EQ(Parse({"--out", "corpus", "--seed=9", "--tables", "3", "--hands=120", "--screen-name",
                     "Quill", "--date", "20240229", "--later-format", "--players", "40", "--game",
                     "omaha", "--seats", "3-6", "--stake", "50nl"},
                    options, error),
              pkrsim::eArgsResult::Run)
        << error;
    EXPECT_EQ(options.outDir, "corpus");
    EXPECT_EQ(options.seed, 9u);
    EXPECT_EQ(options.tables, 3);
    EXPECT_EQ(options.hands, 120);
    EXPECT_EQ(options.screenName, "Quill");
    EXPECT_EQ(options.date, "20240229");
    EXPECT_TRUE(options.laterFormat);
    EXPECT_EQ(options.players, 40);
    EXPECT_EQ(options.game, GAME_OMAHA);
    EXPECT_EQ(options.minSeats, 3);
    EXPECT_EQ(options.maxSeats, 6);
    EXPECT_EQ(options.stake, STAKE_50NL);

    pkrsim::sSimOptions help;
    EXPECT_EQ(Parse({"--out", "x", "--help"}, help, error), pkrsim::eArgsResult::Help);
}

TEST(SimArguments, RejectsBadArgumentsWithAMessage) {
    const std::vector<std::vector<std::string>> bad = {
        {},         // --out missing
        {"--out"},  // value missing
        {"--out", "x", "--tables", "0"},
        {"--out", "x", "--hands", "-5"},
        {"--out", "x", "--hands", "12k"},
        {"--out", "x", "--seats", "1-4"},
        {"--out", "x", "--seats", "6-3"},
        {"--out", "x", "--seats", "2-11"},
        {"--out", "x", "--game", "stud"},
        {"--out", "x", "--stake", "5NL"},
        {"--out", "x", "--date", "20230229"},  // not a leap year
        {"--out", "x", "--date", "2024-03-15"},
        {"--out", "x", "--screen-name", "Two Words"},
        {"--out", "x", "--screen-name", "TheSeat"},
        {"--out", "x", "--screen-name", "a/b"},
        {"--out", "x", "--players", "0"},
        {"--out", "x", "--frobnicate", "1"},
        {"--out", "x", "stray"},
    };
    for (const auto& args : bad) {
        pkrsim::sSimOptions options;
        std::string error;
        std::string joined;
        for (const auto& arg : args) {
            joined += arg + " ";
        }
        EXPECT_EQ(Parse(args, options, error), pkrsim::eArgsResult::Error) << joined;
        EXPECT_FALSE(error.empty()) << joined;
    }
}

TEST(SimProgram, WritesTheFolderLayoutAndFailsClearlyOnBadArguments) {
    ScopedTempDir dir;
    const std::string out = (dir.Path() / "hh").string();
    const std::string errors = dir.File("stderr.txt");
    const std::string run = std::string("\"") + LQ_SIM_PATH + "\" --out \"" + out +
                            "\" --tables 3 --hands 30 --screen-name Quill --date 20240105";
    ASSERT_EQ(RunShell(run + " > \"" + dir.File("stdout.txt") + "\""), 0);
    const fs::path folder = fs::path(out) / "Quill" / "20240105";
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().extension(), ".txt");
        ++files;
    }
    EXPECT_EQ(files, 3);
    EXPECT_TRUE(fs::exists(fs::path(out) / "expected-counters.tsv"));

    const std::string bad = std::string("\"") + LQ_SIM_PATH + "\" --out \"" + out +
                            "\" --seats 9-2 2> \"" + errors + "\"";
    EXPECT_NE(RunShell(bad), 0);
    EXPECT_NE(ReadFile(errors).find("--seats"), std::string::npos) << ReadFile(errors);
}

// Hand numbers of a text, in order.
std::vector<uint32_t> HandNumbers(const std::string& text) {
    std::vector<uint32_t> numbers;
    const std::string marker = "Starting Hand #";
    for (size_t pos = text.find(marker); pos != std::string::npos;
         pos = text.find(marker, pos + 1)) {
        numbers.push_back(ReadHandNumber(text, pos + marker.size()));
    }
    return numbers;
}

class SimCorpusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new ScopedTempDir;
        pkrsim::sSimOptions options;
        options.outDir = s_dir->Path().string();
        options.seed = 4242;
        options.tables = 12;
        options.hands = 3000;
        options.players = 60;
        options.date = "20240315";
        std::string error;
        ASSERT_TRUE(pkrsim::RunSimulation(options, s_result, error)) << error;
        ASSERT_TRUE(pkrsim::ReadExpectedCounters(s_result.expectedCountersPath, s_hands, s_rows));
    }
    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }

    static ScopedTempDir* s_dir;
    static pkrsim::sSimResult s_result;
    static int64_t s_hands;
    static std::vector<pkrsim::sExpectedRow> s_rows;
};

ScopedTempDir* SimCorpusTest::s_dir = nullptr;
pkrsim::sSimResult SimCorpusTest::s_result;
int64_t SimCorpusTest::s_hands = 0;
std::vector<pkrsim::sExpectedRow> SimCorpusTest::s_rows;

TEST_F(SimCorpusTest, FilesAreWellFormedHandHistories) {
    EXPECT_EQ(s_hands, 3000);
    std::set<uint32_t> allNumbers;
    size_t hands = 0;
    for (const auto& path : s_result.files) {
        const std::string text = ReadFile(path);
        for (size_t i = 0; i < text.size(); ++i) {
            ASSERT_FALSE(text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) << path << " @" << i;
        }
        const auto numbers = HandNumbers(text);
        EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()) &&
                    std::adjacent_find(numbers.begin(), numbers.end()) == numbers.end())
            << path;
        EXPECT_GT(numbers.front(), 0x80000000u);
        allNumbers.insert(numbers.begin(), numbers.end());
        hands += numbers.size();

        // Every hand: the screen name is dealt in, the seat list ends with "Shuffling Deck",
        // and the earlier end marker closes it.
        size_t dealt = 0;
        for (size_t pos = text.find(" to Hero\r\n"); pos != std::string::npos;
             pos = text.find(" to Hero\r\n", pos + 1)) {
            ++dealt;
        }
        EXPECT_EQ(dealt, numbers.size()) << path;
        size_t shuffles = 0;
        for (size_t pos = text.find("\r\nShuffling Deck\r\nMoving Button");
             pos != std::string::npos; pos = text.find("\r\nShuffling Deck", pos + 1)) {
            const size_t lineStart = text.rfind("\r\n", pos - 1) + 2;
            EXPECT_EQ(text.compare(lineStart, 5, "Seat "), 0) << path;
            ++shuffles;
        }
        EXPECT_EQ(shuffles, numbers.size()) << path;
        EXPECT_EQ(text.find("End of Hand #"), std::string::npos);
    }
    EXPECT_EQ(allNumbers.size(), hands) << "hand numbers are unique over the corpus";
    EXPECT_EQ(hands, 3000u);
}

TEST_F(SimCorpusTest, PlayCoversEveryCounterBucketKindAndStyle) {
    std::array<int64_t, CNT_MAX> totals{};
    std::set<int> games;
    std::set<int> stakes;
    std::set<int> sizes;
    std::map<std::string, std::array<int64_t, CNT_MAX>> byPlayer;
    for (const auto& row : s_rows) {
        games.insert(row.game);
        stakes.insert(row.stake);
        sizes.insert(row.sizeClass);
        for (int k = 0; k < CNT_MAX; ++k) {
            totals[k] += row.counters[k];
            byPlayer[row.name][k] += row.counters[k];
        }
    }
    for (int k = 0; k < CNT_MAX; ++k) {
        EXPECT_GT(totals[k], 0) << kCounterNames[k] << " never happens";
    }
    EXPECT_EQ(games.size(), 2u);
    EXPECT_EQ(stakes.size(), static_cast<size_t>(STAKE_MAX));
    EXPECT_EQ(sizes.size(), 3u);

    // Loose and tight players: VPIP ratios of the regulars spread widely.
    double lowest = 1;
    double highest = 0;
    for (const auto& [name, counters] : byPlayer) {
        if (counters[CNT_HANDS] >= 200) {
            const double vpip = static_cast<double>(counters[CNT_VPIP]) / counters[CNT_HANDS];
            lowest = std::min(lowest, vpip);
            highest = std::max(highest, vpip);
        }
    }
    EXPECT_GT(highest - lowest, 0.3);
}

TEST_F(SimCorpusTest, NamesCannotBeMistakenForOneAnother) {
    std::set<std::string> names;
    for (const auto& row : s_rows) {
        names.insert(row.name);
    }
    for (const auto& name : names) {
        EXPECT_EQ(name.find(' '), std::string::npos) << name;
        EXPECT_EQ(name.find("Seat"), std::string::npos) << name;
        for (const auto& other : names) {
            const bool suffix = other.size() > name.size() &&
                                other.compare(other.size() - name.size(), name.size(), name) == 0;
            EXPECT_FALSE(suffix) << name << " ends " << other;
        }
    }
}

TEST(SimOptions, FixedGameStakeSeatsAndFormatAreHonoured) {
    ScopedTempDir dir;
    pkrsim::sSimOptions options;
    options.outDir = dir.Path().string();
    options.tables = 3;
    options.hands = 300;
    options.game = GAME_OMAHA;
    options.stake = STAKE_25NL;
    options.minSeats = options.maxSeats = 6;
    options.laterFormat = true;
    options.date = "20240315";
    pkrsim::sSimResult result;
    std::string error;
    ASSERT_TRUE(pkrsim::RunSimulation(options, result, error)) << error;
    for (const auto& path : result.files) {
        const std::string text = ReadFile(path);
        EXPECT_EQ(DetectGameType(text), GAME_OMAHA);
        EXPECT_EQ(DetectStakeLevel(text), STAKE_25NL);
        EXPECT_NE(text.find("Blinds are now $0.10 / $0.25"), std::string::npos);
        EXPECT_NE(text.find("End of Hand #"), std::string::npos);
        EXPECT_EQ(text.find("End Of Hand #"), std::string::npos);
    }
    int64_t hands = 0;
    std::vector<pkrsim::sExpectedRow> rows;
    ASSERT_TRUE(pkrsim::ReadExpectedCounters(result.expectedCountersPath, hands, rows));
    for (const auto& row : rows) {
        EXPECT_EQ(row.game, GAME_OMAHA);
        EXPECT_EQ(row.stake, STAKE_25NL);
        EXPECT_EQ(row.sizeClass, SIZE_3TO6);
    }
}

}  // namespace
