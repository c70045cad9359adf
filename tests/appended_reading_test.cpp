// A table's file read tick by tick while it grows, is cut short or is replaced: the seat reader
// that keeps what it read before must find exactly what a fresh read of the whole file finds.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "Simulator.h"
#include "TestSupport.h"
#include "history/GameTypes.h"
#include "history/HistoryParser.h"
#include "history/StatsStore.h"
#include "history/TextFile.h"
#include "hud/SeatReader.h"

namespace {

using eRead = CAppendedTextFile::eRead;

std::string TableText(uint64_t seed, int64_t hands, eStakeLevel stake, eGameType game = GAME_HOLDEM,
                      bool laterFormat = false) {
    pkrsim::sSimOptions options;
    options.seed = seed;
    options.hands = hands;
    options.players = 30;
    options.game = game;
    options.stake = stake;
    options.laterFormat = laterFormat;
    return pkrsim::GenerateTableText(options);
}

void AppendToFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// What a step does to the file.
enum class eChange {
    Append,   // the client adds bytes
    Rewrite,  // the same file cut to nothing and written again
    Replace,  // another file put in its place (a new file under the same name)
    Remove,   // the file is gone for a tick
};

struct sStep {
    const char* what;
    eChange change;
    std::string bytes;
    eRead expected;  // how the appending reader must have read the file
};

// Runs the steps and compares, after each, the appending reader with a fresh whole read. Both
// keep their own state across the steps, since a HUD's layout size is decided once.
void ExpectSameAsWholeReads(const std::vector<sStep>& steps) {
    testing_support::ScopedTempDir dir;
    const std::string path = dir.File("Table.txt");
    CStatsStore store;
    ParseHistoryText(store, TableText(1, 40, STAKE_25NL) + TableText(2, 40, STAKE_50NL));

    CAppendedTextFile file;
    CSeatReader appending;
    CSeatReader whole(ReadTextFile);
    sSeatState kept;
    sSeatState fresh;
    for (const sStep& step : steps) {
        SCOPED_TRACE(step.what);
        switch (step.change) {
            case eChange::Append:
                AppendToFile(path, step.bytes);
                break;
            case eChange::Rewrite:
                testing_support::WriteFile(path, step.bytes);
                break;
            case eChange::Replace: {
                const std::string other = dir.File("Other.txt");
                testing_support::WriteFile(other, step.bytes);
                std::filesystem::rename(other, path);
                break;
            }
            case eChange::Remove:
                std::filesystem::remove(path);
                break;
        }
        std::string text;
        ReadTextFile(path, text);
        ASSERT_EQ(file.Read(path), step.expected);
        EXPECT_EQ(file.Text(), text);

        EXPECT_EQ(appending.ReadSeats(path, store, kept), whole.ReadSeats(path, store, fresh));
        EXPECT_EQ(kept.m_strSeatName, fresh.m_strSeatName);
        EXPECT_EQ(kept.m_nPlayer, fresh.m_nPlayer);
        EXPECT_EQ(kept.m_nGame, fresh.m_nGame);
        EXPECT_EQ(kept.m_nStake, fresh.m_nStake);
        EXPECT_EQ(kept.m_nSizeClass, fresh.m_nSizeClass);
        EXPECT_EQ(kept.m_nLayoutSize, fresh.m_nLayoutSize);
    }
}

// Position `into` bytes inside the first `marker` after `from`.
size_t CutInside(const std::string& text, const std::string& marker, size_t from, size_t into) {
    const size_t pos = text.find(marker, from);
    EXPECT_NE(pos, std::string::npos) << marker;
    return pos + into;
}

}  // namespace

TEST(AppendedReading, GrowingFileGivesTheSeatsOfAWholeReadAtEveryStep) {
    const std::string table = TableText(1, 6, STAKE_25NL);
    const size_t inShuffle = CutInside(table, "Shuffling Deck", 1000, 6);
    const size_t inSeatLine = CutInside(table, "Seat 3:", inShuffle + 100, 10);
    const size_t inSeatMarker = CutInside(table, "Seat 1", inSeatLine + 100, 5);  // "Seat |1:"
    const size_t fourHands = CutInside(table, "Starting Hand #", inSeatMarker + 100, 0);

    const std::string other = TableText(9, 20, STAKE_50NL, GAME_OMAHA);
    ASSERT_GT(other.size(), table.size());
    const std::string head = table.substr(0, fourHands);
    ExpectSameAsWholeReads({
        {"the first bytes only", eChange::Rewrite, table.substr(0, 20), eRead::Whole},
        {"up to inside a Shuffling Deck", eChange::Append, table.substr(20, inShuffle - 20),
         eRead::Appended},
        {"the rest of that marker and more", eChange::Append,
         table.substr(inShuffle, inSeatLine - inShuffle), eRead::Appended},
        {"nothing new", eChange::Append, "", eRead::Appended},
        {"the rest of a seat line", eChange::Append,
         table.substr(inSeatLine, inSeatMarker - inSeatLine), eRead::Appended},
        {"the rest of a seat marker", eChange::Append,
         table.substr(inSeatMarker, fourHands - inSeatMarker), eRead::Appended},
        {"the other hands", eChange::Append, table.substr(fourHands), eRead::Appended},
        {"cut short and written again", eChange::Rewrite, head, eRead::Whole},
        {"grown again", eChange::Append, table.substr(fourHands), eRead::Appended},
        {"another table's longer file written over it", eChange::Rewrite, other, eRead::Whole},
        {"gone", eChange::Remove, "", eRead::Failed},
        {"back, as the first table", eChange::Rewrite, table, eRead::Whole},
        {"a longer file moved in its place", eChange::Replace, other + table, eRead::Whole},
        {"a NUL, then more hands", eChange::Append, std::string(1, '\0') + other, eRead::Appended},
        {"and more after the NUL", eChange::Append, table, eRead::Appended},
    });
}

TEST(AppendedReading, RandomAppendsGiveTheSeatsOfAWholeReadAtEveryStep) {
    // Hands of a later client (spaced blinds) in pieces of random length, so that every marker
    // is split somewhere, and a play money table after them (the blinds stop mattering).
    const std::string table = TableText(3, 30, STAKE_10NL, GAME_HOLDEM, true) +
                              TableText(4, 10, STAKE_PLAYMONEY, GAME_OMAHA);
    std::mt19937 random(5);
    std::vector<sStep> steps;
    steps.push_back({"start", eChange::Rewrite, "", eRead::Whole});
    for (size_t pos = 0; pos < table.size();) {
        const size_t length = std::min<size_t>(random() % 400, table.size() - pos);
        steps.push_back({"a piece", eChange::Append, table.substr(pos, length), eRead::Appended});
        pos += length;
    }
    ExpectSameAsWholeReads(steps);
}

TEST(AppendedReading, ChangedBytesBeforeTheEndMakeAWholeRead) {
    testing_support::ScopedTempDir dir;
    const std::string path = dir.File("Table.txt");
    const std::string text(500, 'a');
    testing_support::WriteFile(path, text);
    CAppendedTextFile file;
    ASSERT_EQ(file.Read(path), eRead::Whole);

    // Same first bytes, longer, but the bytes just before the old end differ.
    std::string changed = text + "bbb";
    changed[495] = 'z';
    testing_support::WriteFile(path, changed);
    EXPECT_EQ(file.Read(path), eRead::Whole);
    EXPECT_EQ(file.Text(), changed);

    // Same bytes at the old end, other first bytes.
    changed[0] = 'y';
    changed += "c";
    testing_support::WriteFile(path, changed);
    EXPECT_EQ(file.Read(path), eRead::Whole);
    EXPECT_EQ(file.Text(), changed);

    // A file at another path is another file.
    const std::string second = dir.File("Second.txt");
    testing_support::WriteFile(second, changed + "d");
    EXPECT_EQ(file.Read(second), eRead::Whole);
    EXPECT_EQ(file.Text(), changed + "d");
}

// What the reader does not see: the same file rewritten in place, no shorter, with its first
// bytes and the bytes before the old end as they were, is taken as an append, and the text keeps
// the old bytes between them until the reader forgets the file. The client never does this; a
// byte changed inside either compared stretch is seen.
TEST(AppendedReading, AnInPlaceRewriteKeepingTheComparedBytesIsTakenAsAnAppend) {
    constexpr size_t kCheck = CAppendedTextFile::kCheckBytes;
    testing_support::ScopedTempDir dir;
    const std::string path = dir.File("Table.txt");
    const std::string before(500, 'a');

    struct sRewrite {
        size_t from, to;  // the bytes [from, to) of `before` changed
        eRead expected;
    };
    const sRewrite rewrites[] = {
        {kCheck, 500 - kCheck, eRead::Appended},  // everything between the compared stretches
        {kCheck - 1, kCheck, eRead::Whole},       // the last byte of the first stretch
        {500 - kCheck, 500 - kCheck + 1, eRead::Whole},  // the first byte of the last stretch
    };
    for (const sRewrite& rewrite : rewrites) {
        SCOPED_TRACE(rewrite.from);
        testing_support::WriteFile(path, before);
        CAppendedTextFile file;
        ASSERT_EQ(file.Read(path), eRead::Whole);

        std::string after = before;
        std::fill(after.begin() + static_cast<ptrdiff_t>(rewrite.from),
                  after.begin() + static_cast<ptrdiff_t>(rewrite.to), 'b');
        after += "ccc";
        testing_support::WriteFile(path, after);  // the same file, cut and written again
        ASSERT_EQ(file.Read(path), rewrite.expected);
        if (rewrite.expected == eRead::Whole) {
            EXPECT_EQ(file.Text(), after);
            continue;
        }
        EXPECT_EQ(file.Text(), before + "ccc");  // not what a whole read gives
        file.Forget();
        EXPECT_EQ(file.Read(path), eRead::Whole);
        EXPECT_EQ(file.Text(), after);
    }
}
