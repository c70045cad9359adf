#include <gtest/gtest.h>

#include <filesystem>

#include "history/CacheFileGuard.h"
#include "history/CacheLayout.h"
#include "history/HistoryParser.h"
#include "history/StatsCache.h"
#include "history/StatsStore.h"
#include "tests/HandText.h"
#include "tests/TestSupport.h"

using testing_support::ReadFile;
using testing_support::ScopedTempDir;
using testing_support::WriteFile;

namespace {

namespace fs = std::filesystem;

// Four players and two counted hands, with an empty file cache.
CStatsStore SamplePlayers() {
    CStatsStore store;
    ParseHistoryText(store, hand_text::Header() +
                                hand_text::Hand(2433297728u, {{1, "Ann"}, {2, "Ben"}, {3, "Cid"}},
                                                {"Ann raises to $1", "Ben calls $1", "Cid folds"}) +
                                hand_text::Hand(17, {{1, "Ann"}, {4, "Dee"}}, {"Ann folds"}));
    return store;
}

CStatsStore SampleStore() {
    CStatsStore store = SamplePlayers();
    store.AppendLoadedFile("/hh/Hero/20240101/Table A.txt", 1700000000);
    store.AppendLoadedFile("/hh/Hero/20240101/Table B.txt", -5);
    return store;
}

void ExpectSameStore(const CStatsStore& a, const CStatsStore& b) {
    ASSERT_EQ(a.PlayerCount(), b.PlayerCount());
    EXPECT_EQ(a.CountedHands(), b.CountedHands());
    EXPECT_EQ(a.Files(), b.Files());
    EXPECT_EQ(a.FileTimes(), b.FileTimes());
    auto ra = std::make_unique<CPKR_PlayerRecord>();
    auto rb = std::make_unique<CPKR_PlayerRecord>();
    for (int p = 0; p < a.PlayerCount(); ++p) {
        EXPECT_EQ(a.PlayerName(p), b.PlayerName(p));
        EXPECT_EQ(b.FindPlayer(a.PlayerName(p)), p);
        a.GetRecord(p, *ra);
        b.GetRecord(p, *rb);
        EXPECT_EQ(0, std::memcmp(ra.get(), rb.get(), sizeof(CPKR_PlayerRecord))) << "player " << p;
    }
}

class CacheFileTest : public ::testing::Test {
protected:
    std::string Saved(const CStatsStore& store) {
        EXPECT_TRUE(SaveStatsCache(store, path));
        return ReadFile(path);
    }
    // Writes `bytes` as the cache file and expects it to be rejected and set aside whole.
    void ExpectRejected(const std::string& bytes, std::string_view why) {
        WriteFile(path, bytes);
        CStatsStore store = SampleStore();
        const sCacheLoadOutcome outcome = LoadStatsCacheFile(store, path);
        EXPECT_EQ(outcome.result, eCacheLoad::Rejected) << why;
        EXPECT_EQ(store.PlayerCount(), 0) << why;
        EXPECT_TRUE(store.CountedHands().empty()) << why;
        EXPECT_FALSE(fs::exists(path)) << why;
        EXPECT_TRUE(outcome.setAsideAs.starts_with(path + ".rejected-")) << outcome.setAsideAs;
        EXPECT_EQ(ReadFile(outcome.setAsideAs), bytes) << why;
    }

    ScopedTempDir dir;
    std::string path = dir.File(kCacheFileName);
};

TEST_F(CacheFileTest, SaveThenLoadRestoresEveryMember) {
    const CStatsStore original = SampleStore();
    const std::string bytes = Saved(original);
    EXPECT_EQ(bytes.size(), 149u + 4 * 2 + 10588u * 4 + 264u * 2);
    CStatsStore loaded;
    ASSERT_EQ(LoadStatsCacheEx(loaded, path), eCacheLoad::Loaded);
    ExpectSameStore(original, loaded);
    // And what a load gives saves to the same bytes again.
    EXPECT_EQ(Saved(loaded), bytes);
}

TEST_F(CacheFileTest, LayoutIsTheFixedLittleEndianOne) {
    const std::string bytes = Saved(SampleStore());
    EXPECT_EQ(bytes.substr(0, 27), std::string("Lanternquill_DEMOCACHEO05\n\0", 27));
    EXPECT_EQ(bytes.substr(27, 20), std::string("Lanternquill_HANDS\n\0", 20));
    EXPECT_EQ(bytes.substr(47, 4), std::string("\2\0\0\0", 4));
    // 2433297728 = 0x91092D40, little-endian.
    EXPECT_EQ(bytes.substr(51, 4), std::string("\x40\x2D\x09\x91", 4));
    EXPECT_EQ(bytes.substr(59, 22), std::string("Lanternquill_PLAYERS\n\0", 22));
    EXPECT_EQ(bytes.substr(85, 4), std::string("Ann\0", 4));
    const size_t stats = 85 + 24 * 4;
    EXPECT_EQ(bytes.substr(stats, 20), std::string("Lanternquill_STATS\n\0", 20));
    // First record: id 0, then Ann's Hands counter in hold'em / 50NL / 3-6 seats.
    EXPECT_EQ(bytes.substr(stats + 20, 4), std::string("\0\0\0\0", 4));
    const size_t hands =
        stats + 24 + 4 * (sBucketKey{GAME_HOLDEM, STAKE_50NL, SIZE_3TO6}.Index() * 40);
    EXPECT_EQ(bytes.substr(hands, 4), std::string("\1\0\0\0", 4));
    EXPECT_EQ(bytes.substr(bytes.size() - 24), std::string("Lanternquill_ENDOFDATA\n\0", 24));
}

TEST_F(CacheFileTest, MalformedFilesAreRejectedAndSetAside) {
    const std::string good = Saved(SampleStore());
    std::string badMagic = good;
    badMagic[5] = 'X';
    ExpectRejected(badMagic, "first line differs");
    std::string badNul = good;
    badNul[26] = ' ';
    ExpectRejected(badNul, "no NUL after the first line");
    for (size_t cut : {size_t{0}, size_t{26}, size_t{50}, size_t{60}, good.size() / 2,
                       good.size() - 25, good.size() - 1}) {
        ExpectRejected(good.substr(0, cut), "cut at " + std::to_string(cut));
    }
}

TEST_F(CacheFileTest, CountsOutsideTheirLimitsAreRejected) {
    const std::string good = Saved(SampleStore());
    auto withInt = [&](size_t offset, uint32_t value) {
        std::string bytes = good;
        cache_layout::StoreLittleEndian(value, reinterpret_cast<unsigned char*>(&bytes[offset]));
        return bytes;
    };
    ExpectRejected(withInt(47, 0), "H = 0");
    ExpectRejected(withInt(47, 3000001), "H = 3000001");
    ExpectRejected(withInt(81, 0), "P = 0");
    ExpectRejected(withInt(81, 1000001), "P = 1000001");
    ExpectRejected(withInt(81, 0xFFFFFFFFu), "P negative");
}

// Regression: declared counts are checked against the file's size before anything is allocated,
// so a tiny file that claims a million players is turned away at once.
TEST_F(CacheFileTest, TinyFileClaimingHugeCountsIsRejectedWithoutAllocating) {
    std::string bytes(200, '\0');
    const std::string head = std::string("Lanternquill_DEMOCACHEO05\n\0", 27) +
                             std::string("Lanternquill_HANDS\n\0", 20) +
                             std::string("\1\0\0\0", 4) + std::string("\1\0\0\0", 4) +
                             std::string("Lanternquill_PLAYERS\n\0", 22) +
                             std::string("\x40\x42\x0F\x00", 4);  // 1000000 players
    bytes.replace(0, head.size(), head);
    ExpectRejected(bytes, "a million players in 200 bytes");
}

TEST_F(CacheFileTest, MaximumHandCountIsAccepted) {
    CStatsStore store;
    store.ReserveHands(3000000);
    for (uint32_t h = 0; h < 3000000; ++h) {
        store.AddCountedHand(h * 7u);
    }
    store.AddPlayer("Ann");
    ASSERT_TRUE(SaveStatsCache(store, path));
    CStatsStore loaded;
    EXPECT_EQ(LoadStatsCacheEx(loaded, path), eCacheLoad::Loaded);
    EXPECT_EQ(loaded.CountedHands().size(), 3000000u);
    EXPECT_TRUE(loaded.IsHandCounted(2999999u * 7u));
}

TEST_F(CacheFileTest, MissingFileChangesNothing) {
    CStatsStore store = SampleStore();
    EXPECT_EQ(LoadStatsCacheEx(store, dir.File("absent.dat")), eCacheLoad::NotOpened);
    EXPECT_EQ(store.PlayerCount(), 4);
}

TEST_F(CacheFileTest, DiagnosisLoadKeepsARejectedFile) {
    WriteFile(path, "not a cache");
    CStatsStore store;
    EXPECT_EQ(LoadStatsCacheEx(store, path, /*setAsideIfRejected=*/false), eCacheLoad::Rejected);
    EXPECT_TRUE(fs::exists(path));
}

// Every rejected file is kept under a name nothing had yet: neither an earlier rejected cache
// nor a file or folder of the user's is ever replaced.
TEST_F(CacheFileTest, ARejectedFileNeverReplacesAnother) {
    const int64_t now = 1765324800;  // one second for every rejection below
    const std::string first = RejectedCacheName(path, now, 1);
    EXPECT_TRUE(first.starts_with(path + ".rejected-")) << first;
    EXPECT_EQ(RejectedCacheName(path, now, 3), first + "-3");
    std::error_code error;
    WriteFile(path, "first damaged cache");
    EXPECT_EQ(SetAsideRejectedCache(path, error, SystemDurableFiles(), now), first);
    WriteFile(path, "second damaged cache");
    EXPECT_EQ(SetAsideRejectedCache(path, error, SystemDurableFiles(), now), first + "-2");
    EXPECT_EQ(ReadFile(first), "first damaged cache");
    EXPECT_EQ(ReadFile(first + "-2"), "second damaged cache");
    EXPECT_FALSE(fs::exists(path));

    // Somebody's file and folder at the next names: both stay, the damaged file goes further.
    WriteFile(first + "-3", "mine");
    fs::create_directory(first + "-4");
    WriteFile(first + "-4/keep.txt", "mine too");
    WriteFile(path, "third damaged cache");
    EXPECT_EQ(SetAsideRejectedCache(path, error, SystemDurableFiles(), now), first + "-5");
    EXPECT_EQ(ReadFile(first + "-3"), "mine");
    EXPECT_EQ(ReadFile(first + "-4/keep.txt"), "mine too");
    EXPECT_EQ(ReadFile(first + "-5"), "third damaged cache");

    // Nothing to move: no name is taken, and the reason is given.
    EXPECT_FALSE(SetAsideRejectedCache(path, error, SystemDurableFiles(), now));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory) << error.message();
    EXPECT_FALSE(fs::exists(first + "-6"));
}

// A folder at the cache's name is not a cache file: never loaded, moved or replaced.
TEST_F(CacheFileTest, AFolderAtTheCacheNameIsLeftAlone) {
    fs::create_directory(path);
    CStatsStore store;
    EXPECT_EQ(LoadStatsCacheEx(store, path), eCacheLoad::NotOpened);
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);

    std::error_code error;
    EXPECT_FALSE(SaveStatsCache(SampleStore(), path, error));
    EXPECT_EQ(error, std::errc::is_a_directory);
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(CacheFileTest, AFailedSaveSaysWhy) {
    std::error_code error;
    EXPECT_FALSE(SaveStatsCache(SampleStore(), dir.File("no such folder/cache.dat"), error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory) << error.message();
    EXPECT_TRUE(SaveStatsCache(SampleStore(), path, error));
    EXPECT_FALSE(error);
}

TEST_F(CacheFileTest, AnOlderCacheWithRepeatedPathsLoadsAndSavesOneEntryPerPath) {
    CStatsStore old = SamplePlayers();
    old.AppendLoadedFile("/hh/A.txt", 100);
    old.AppendLoadedFile("/hh/B.txt", 200);
    old.AppendLoadedFile("/hh/A.txt", 300);
    old.AppendLoadedFile("/hh/A.txt", 250);
    ASSERT_TRUE(SaveStatsCache(old, path));
    CStatsStore loaded;
    ASSERT_EQ(LoadStatsCacheEx(loaded, path), eCacheLoad::Loaded);
    EXPECT_EQ(loaded.FileTime("/hh/A.txt"), 300);  // the newest read of the file wins
    loaded.RecordFileTime("/hh/B.txt", 400);
    const std::string bytes = Saved(loaded);
    EXPECT_EQ(bytes.size(), 149u + 4 * 2 + 10588u * 4 + 264u * 2);
    CStatsStore again;
    ASSERT_EQ(LoadStatsCacheEx(again, path), eCacheLoad::Loaded);
    EXPECT_EQ(again.Files(), (std::vector<std::string>{"/hh/A.txt", "/hh/B.txt"}));
    EXPECT_EQ(again.FileTimes(), (std::vector<int64_t>{300, 400}));
}

TEST_F(CacheFileTest, WhatStandsAtTheCacheNameIsRecognisedWithoutChangingIt) {
    EXPECT_EQ(CheckCacheFile(path).kind, eCacheFileKind::Missing);
    WriteFile(path, "");
    EXPECT_EQ(CheckCacheFile(path).kind, eCacheFileKind::Empty);
    const std::string good = Saved(SampleStore());
    EXPECT_EQ(CheckCacheFile(path).kind, eCacheFileKind::Cache);
    // A cache cut anywhere, even inside its first line, is still ours.
    for (size_t cut : {size_t{1}, size_t{10}, size_t{26}, size_t{27}, size_t{300}}) {
        WriteFile(path, good.substr(0, cut));
        EXPECT_EQ(CheckCacheFile(path).kind, eCacheFileKind::Cache) << cut;
    }
    const std::string handHistory = "Table #7 - Alder\nGame Type: HOLD'EM\n";
    for (const std::string& other : {handHistory, std::string("L"), std::string("Lanternquill"),
                                     std::string("Lanternquill_DEMOCACHEO06\n")}) {
        WriteFile(path, other);
        // ("L" and "Lanternquill" are the start of our first line: a cut cache of ours.)
        const bool ours = std::string(cache_layout::kMagic).starts_with(other);
        EXPECT_EQ(CheckCacheFile(path).kind,
                  ours ? eCacheFileKind::Cache : eCacheFileKind::NotCache)
            << other;
        EXPECT_EQ(ReadFile(path), other);
    }
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_EQ(CheckCacheFile(path).kind, eCacheFileKind::Folder);
}

TEST_F(CacheFileTest, AnEmptyStoreSavesButDoesNotLoad) {
    CStatsStore empty;
    ASSERT_TRUE(SaveStatsCache(empty, path));
    EXPECT_EQ(fs::file_size(path), 149u);
    EXPECT_EQ(LoadStatsCacheEx(empty, path), eCacheLoad::Rejected);
}

// Regression: a save that cannot complete must leave the previous cache file untouched.
TEST_F(CacheFileTest, FailedSaveKeepsThePreviousFile) {
    const std::string good = Saved(SampleStore());
    // Every temporary name is taken by a folder: the temporary file cannot be created.
    fs::create_directory(path + ".tmp");
    for (int n = 1; n <= 9; ++n) {
        fs::create_directory(path + "." + std::to_string(n) + ".tmp");
    }
    CStatsStore other;
    other.AddPlayer("Zed");
    std::error_code error;
    EXPECT_FALSE(SaveStatsCache(other, path, error));
    EXPECT_EQ(error, std::errc::file_exists);
    EXPECT_EQ(ReadFile(path), good);
}

// The temporary file is created where nothing stands: a leftover of an interrupted save is
// removed and its name used, a user's file of that name is stepped around and kept.
TEST_F(CacheFileTest, TheTemporaryNameNeverTakesSomebodyElsesFile) {
    const std::string good = Saved(SampleStore());
    WriteFile(path + ".tmp", good.substr(0, 500));  // a save killed half-way
    EXPECT_EQ(Saved(SampleStore()), good);
    EXPECT_FALSE(fs::exists(path + ".tmp"));

    WriteFile(path + ".tmp", "my notes");
    fs::create_directory(path + ".1.tmp");
    std::error_code error;
    {
        std::optional<sCacheTemp> temp = CreateCacheTemp(path, SystemDurableFiles(), error);
        ASSERT_TRUE(temp) << error.message();
        EXPECT_EQ(temp->name, path + ".2.tmp");
        EXPECT_TRUE(temp->file->Close(error));
        fs::remove(temp->name);
    }
    CStatsStore other;
    other.AddPlayer("Zed");
    other.AddCountedHand(7);
    ASSERT_TRUE(SaveStatsCache(other, path));
    CStatsStore loaded;
    ASSERT_EQ(LoadStatsCacheEx(loaded, path), eCacheLoad::Loaded);
    EXPECT_EQ(loaded.PlayerName(0), "Zed");
    EXPECT_EQ(ReadFile(path + ".tmp"), "my notes");
    EXPECT_TRUE(fs::is_directory(path + ".1.tmp"));
    EXPECT_FALSE(fs::exists(path + ".2.tmp"));
}

// Regression: names and paths longer than their fields must not spill into the next field.
TEST_F(CacheFileTest, OverlongNamesAndPathsStayInsideTheirFields) {
    CStatsStore store;
    const std::string name24(24, 'n');
    store.AddPlayer(name24);
    store.AddPlayer(std::string(30, 'x') + "tail");
    store.AddCountedHand(1);
    const std::string path256 = "/" + std::string(255, 'p');
    store.AppendLoadedFile(path256, 1);
    store.AppendLoadedFile("/" + std::string(300, 'q'), 2);
    store.AppendLoadedFile("/short.txt", 3);
    const std::string bytes = Saved(store);
    EXPECT_EQ(bytes.size(), 149u + 4 + 10588u * 2 + 264u * 2);
    CStatsStore loaded;
    ASSERT_EQ(LoadStatsCacheEx(loaded, path), eCacheLoad::Loaded);
    EXPECT_EQ(loaded.PlayerName(0), name24);
    EXPECT_EQ(loaded.PlayerName(1), std::string(24, 'x'));
    EXPECT_EQ(loaded.Files(), (std::vector<std::string>{path256, "/short.txt"}));
    EXPECT_EQ(loaded.FileTimes(), (std::vector<int64_t>{1, 3}));
}

TEST(CacheImageTest, GarbageImagesAreRejected) {
    CStatsStore store;
    const unsigned char junk[] = {0, 1, 2, 3};
    EXPECT_FALSE(LoadStatsCacheImage(store, junk, 0));
    EXPECT_FALSE(LoadStatsCacheImage(store, junk, sizeof(junk)));
    EXPECT_EQ(store.PlayerCount(), 0);
}

}  // namespace
