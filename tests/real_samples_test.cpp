// Hand history files written by the client itself, read from the shared samples folder when it
// is present on this machine.
#include <gtest/gtest.h>

#include <filesystem>

#include "history/GameTypes.h"
#include "history/HistoryParser.h"
#include "history/StatsStore.h"
#include "history/TextFile.h"
#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;

class RealSamplesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testing_support::SamplesDir();
        if (!dir_) {
            GTEST_SKIP() << "hand history samples are not on this machine";
        }
    }
    void Parse(const std::string& relative) {
        std::string text;
        ASSERT_TRUE(ReadTextFile((*dir_ / relative).string(), text)) << relative;
        ParseHistoryText(store_, text);
    }
    int32_t Count(const std::string& name, eStakeLevel stake, eCounter k) const {
        const int player = store_.FindPlayer(name);
        EXPECT_GE(player, 0) << name;
        return store_.RawCounter(player, {GAME_HOLDEM, stake, SIZE_3TO6}, k);
    }

    std::optional<fs::path> dir_;
    CStatsStore store_;
};

TEST_F(RealSamplesTest, EarlierFormatHandIsCountedStreetByStreet) {
    Parse("cash/NLHE-USD-1.00-2.00-201009.third.card.format.txt");
    EXPECT_EQ(store_.CountedHands(), std::vector<uint32_t>{1441724618u});
    // Four seat lines before "Moving Button"; the fifth player joins only at the end.
    EXPECT_EQ(store_.FindPlayer("airezim"), -1);
    EXPECT_EQ(Count("Hero", STAKE_200NL, CNT_HANDS), 1);
    EXPECT_EQ(Count("Hero", STAKE_200NL, CNT_VPIP), 0);
    EXPECT_EQ(Count("Hero", STAKE_200NL, CNT_FLOPRAISE), 1);
    EXPECT_EQ(Count("Hero", STAKE_200NL, CNT_FLOPCHECK), 0);
    EXPECT_EQ(Count("Hero", STAKE_200NL, CNT_TURNBET), 1);
    EXPECT_EQ(Count("Hero", STAKE_200NL, CNT_SHOWDOWN), 1);
    EXPECT_EQ(Count("Hero", STAKE_200NL, CNT_WONSHOWDOWN), 0);
    EXPECT_EQ(Count("Player1", STAKE_200NL, CNT_VPIP), 1);
    EXPECT_EQ(Count("Player1", STAKE_200NL, CNT_FLOPBET), 1);
    EXPECT_EQ(Count("Player1", STAKE_200NL, CNT_FLOPCALL), 1);
    EXPECT_EQ(Count("Player1", STAKE_200NL, CNT_WONSHOWDOWN), 1);
    EXPECT_EQ(Count("Player2", STAKE_200NL, CNT_HANDS), 1);
}

TEST_F(RealSamplesTest, LaterFormatHandIsCounted) {
    Parse("cash/NLHE-6max-EUR-0.25-0.50-201303.txt");
    // Euro blinds match no dollar level.
    EXPECT_EQ(Count("Player3", STAKE_OTHER, CNT_PFR), 1);
    EXPECT_EQ(Count("Player3", STAKE_OTHER, CNT_FLOPNOCBET), 1);
    EXPECT_EQ(Count("Player3", STAKE_OTHER, CNT_WONSHOWDOWN), 1);
    EXPECT_EQ(Count("Player1", STAKE_OTHER, CNT_SHOWDOWN), 1);
    EXPECT_EQ(Count("Hero", STAKE_OTHER, CNT_PFNO3BET), 1);
    EXPECT_EQ(Count("Hero", STAKE_OTHER, CNT_FLOPFOLD), 1);
}

TEST_F(RealSamplesTest, AntesAllInLeaveNobodyWithAPreflopAction) {
    Parse("tour/NLHE-USD-STT-201205.all.in.ante.txt");
    EXPECT_EQ(store_.CountedHands().size(), 1u);
    const int hero = store_.FindPlayer("Hero");
    ASSERT_GE(hero, 0);
    EXPECT_TRUE(store_.PlayerBuckets(hero).empty()) << "showed down, but never acted preflop";
}

TEST_F(RealSamplesTest, EveryCompleteHandOfEverySampleIsRecorded) {
    size_t files = 0;
    int32_t hands = 0;
    for (const auto& entry : fs::recursive_directory_iterator(*dir_)) {
        if (entry.path().extension() != ".txt") {
            continue;
        }
        ++files;
        std::string text;
        ASSERT_TRUE(ReadTextFile(entry.path().string(), text));
        size_t starts = 0;
        for (size_t pos = text.find("Starting Hand #"); pos != std::string::npos;
             pos = text.find("Starting Hand #", pos + 1)) {
            ++starts;
        }
        CStatsStore store;
        ParseHistoryText(store, text);
        EXPECT_EQ(store.CountedHands().size(), starts) << entry.path();
        for (int p = 0; p < store.PlayerCount(); ++p) {
            for (const sBucketKey bucket : store.PlayerBuckets(p)) {
                hands += store.RawCounter(p, bucket, CNT_HANDS);
            }
        }
    }
    EXPECT_GT(files, 10u);
    EXPECT_GT(hands, 100);
}

}  // namespace
