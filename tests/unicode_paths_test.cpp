// Files and folders whose names are not plain ASCII, through the real file layer: listing,
// last-write times, reading, the folder scan and the cache file. The same tests run natively and,
// in the Windows build, under Wine, where names outside the ANSI code page (Cyrillic, CJK) only
// work through the UTF-16 calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "history/FileImport.h"
#include "history/FolderScan.h"
#include "history/HistoryParser.h"
#include "history/StatsCache.h"
#include "history/StatsStore.h"
#include "history/TextFile.h"
#include "platform/FileIo.h"
#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"
#include "tests/HandText.h"
#include "tests/TestSupport.h"
#ifdef _WIN32
#include "platform/win32/Utf16.h"
#endif

using testing_support::ScopedTempDir;

namespace {

namespace fs = std::filesystem;

// Screen-name folder, table file: Latin-1, Cyrillic and CJK names, and a plain one.
const std::vector<std::pair<std::string, std::string>> kTables = {
    {"J\xC3\xBCrgen", "Tisch Gr\xC3\xB6\xC3\x9F\x65"},  // Jürgen, Tisch Größe
    {"\xD0\x98\xD0\xB3\xD0\xBE\xD1\x80\xD1\x8C",
     "\xD0\xA1\xD1\x82\xD0\xBE\xD0\xBB 1"},  // Игорь, Стол 1
    {"\xE7\x8E\xA9\xE5\xAE\xB6", "\xE7\x89\x8C\xE6\xA1\x8C \xE4\xBA\x8C"},  // 玩家, 牌桌 二
    {"plain", "plain table"},
};

std::string Join(const std::string& dir, const std::string& name) {
    return dir + kPathSeparator + name;
}

// Writes through std::filesystem paths built from UTF-8 (the UTF-16 calls on Windows), so the
// files exist under exactly these names whatever the layer under test does.
void WriteUtf8Named(const std::string& path, std::string_view bytes) {
    const fs::path native = PathFromUtf8(path);
    fs::create_directories(native.parent_path());
    std::ofstream(native, std::ios::binary) << bytes;
}

std::string TableText(uint32_t hand) {
    return hand_text::Header() +
           hand_text::Hand(hand, {{1, "Ann"}, {2, "Ben"}}, {"Ann raises to $1", "Ben folds"});
}

class UnicodePathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (size_t i = 0; i < kTables.size(); ++i) {
            const auto& [player, table] = kTables[i];
            const std::string path = Join(Join(Join(root, player), "20090301"), table + ".txt");
            WriteUtf8Named(path, TableText(static_cast<uint32_t>(1000 + i)));
            paths.push_back(path);
        }
    }

    ScopedTempDir dir;
    std::string root = Utf8FromPath(dir.Path());
    std::vector<std::string> paths;
    CStdFileSystem fileSystem;
};

TEST_F(UnicodePathsTest, ListingGivesEveryNameAsUtf8WithItsKindAndTime) {
    std::set<std::string> folders;
    for (const sDirEntry& entry : fileSystem.ListDirectory(root)) {
        EXPECT_TRUE(entry.m_bDirectory) << entry.m_strName;
        folders.insert(entry.m_strName);
    }
    std::set<std::string> expected;
    for (const auto& table : kTables) {
        expected.insert(table.first);
    }
    EXPECT_EQ(folders, expected);

    for (size_t i = 0; i < kTables.size(); ++i) {
        const std::string dayFolder = Join(Join(root, kTables[i].first), "20090301");
        const auto entries = fileSystem.ListDirectory(dayFolder);
        ASSERT_EQ(entries.size(), 1u) << dayFolder;
        EXPECT_EQ(entries[0].m_strName, kTables[i].second + ".txt");
        EXPECT_FALSE(entries[0].m_bDirectory);
        // A time the listing brings along is the one asked for separately.
        const auto written = fileSystem.LastWriteTime(paths[i]);
        ASSERT_TRUE(written.has_value()) << paths[i];
        if (entries[0].m_tLastWrite) {
            EXPECT_EQ(*entries[0].m_tLastWrite, *written);
        }
    }
    EXPECT_TRUE(fileSystem.ListDirectory(Join(root, "missing")).empty());
    EXPECT_TRUE(fileSystem.ListDirectory(paths[0]).empty());  // a file, not a folder
    EXPECT_FALSE(fileSystem.LastWriteTime(Join(root, "missing")).has_value());
}

TEST_F(UnicodePathsTest, EveryFileIsReadWhateverItsName) {
    for (size_t i = 0; i < paths.size(); ++i) {
        std::string text;
        EXPECT_TRUE(ReadTextFile(paths[i], text)) << paths[i];
        EXPECT_EQ(text, TableText(static_cast<uint32_t>(1000 + i)));
        std::FILE* file = OpenFileUtf8(paths[i], "rb");
        EXPECT_NE(file, nullptr) << paths[i];
        if (file != nullptr) {
            std::fclose(file);
        }
    }
}

TEST_F(UnicodePathsTest, FullImportFindsAndCountsEveryTableOnce) {
    CStatsStore store;
    CHistoryScan scan(fileSystem, store);
    scan.ScanHistoryFolder(root, ".txt", 0, /*fullImport=*/true, nullptr);
    std::set<std::string> names;
    for (const sModifiedFileInfo& info : scan.ModifiedFiles()) {
        names.insert(info.m_strName);
    }
    std::set<std::string> expected;
    for (const auto& table : kTables) {
        expected.insert(table.second);
    }
    EXPECT_EQ(names, expected);
    (void)ImportFoundFiles(store, scan.ModifiedFiles(), kNothingBeingWritten, nullptr);
    EXPECT_EQ(store.CountedHands().size(), kTables.size());

    // The cache file under a non-ASCII name keeps the paths; a second full import finds nothing
    // new.
    const std::string cache = Join(Join(root, kTables[1].first), "\xD0\x9A\xD1\x8D\xD1\x88.dat");
    ASSERT_TRUE(SaveStatsCache(store, cache));
    CStatsStore loaded;
    ASSERT_TRUE(LoadStatsCache(loaded, cache));
    CHistoryScan again(fileSystem, loaded);
    again.ScanHistoryFolder(root, ".txt", 0, /*fullImport=*/true, nullptr);
    (void)ImportFoundFiles(loaded, again.ModifiedFiles(), kNothingBeingWritten, nullptr);
    EXPECT_EQ(loaded.CountedHands().size(), kTables.size());
    for (const std::string& path : again.ModifiedPaths()) {
        EXPECT_NE(path, paths.back()) << "a plain path is always kept by the cache file";
        // Only a path the cache file cannot hold in its code page may be looked at again.
        EXPECT_EQ(std::count(loaded.Files().begin(), loaded.Files().end(), path), 1) << path;
    }
}

TEST_F(UnicodePathsTest, ExclusiveFileReadsAtOffsetsAndShutsOthersOutOnWindows) {
    const CExclusiveReadFile file(paths[2]);
    ASSERT_TRUE(file.IsOpen());
    const std::string text = TableText(1002);
    ASSERT_EQ(file.Size(), static_cast<int64_t>(text.size()));
    std::string part(5, '\0');
    EXPECT_TRUE(file.ReadAt(3, part.data(), part.size()));
    EXPECT_EQ(part, text.substr(3, 5));
    EXPECT_FALSE(file.ReadAt(text.size() - 2, part.data(), part.size()));  // past the end

    const CExclusiveReadFile second(paths[2]);
#ifdef _WIN32
    EXPECT_FALSE(second.IsOpen());  // no sharing while the first one reads
    std::string blocked;
    EXPECT_FALSE(ReadTextFile(paths[2], blocked));
    EXPECT_TRUE(blocked.empty());
#else
    EXPECT_TRUE(second.IsOpen());
#endif
    EXPECT_FALSE(CExclusiveReadFile(Join(root, "missing.txt")).IsOpen());
    EXPECT_EQ(CExclusiveReadFile(Join(root, "missing.txt")).Size(), -1);
}

#ifdef _WIN32
// The conversions every Win32 call of the program goes through.
TEST(Utf16Test, NamesRoundTripAndDamagedTextOpensNothingElse) {
    for (const auto& [player, table] : kTables) {
        EXPECT_EQ(Utf8FromWide(WideFromUtf8(player)), player);
        EXPECT_EQ(Utf8FromWide(WideFromUtf8(table)), table);
    }
    EXPECT_EQ(WideFromUtf8("Gr\xC3\xB6\xC3\x9F\x65"), std::wstring(L"Gr\u00F6\u00DF\x65"));
    EXPECT_EQ(WideFromUtf8("\xE7\x89\x8C"), std::wstring(L"\u724C"));
    // A byte that is not UTF-8 (a Latin-1 "ü") becomes U+FFFD, never another letter.
    EXPECT_EQ(WideFromUtf8("J\xFCrgen"), std::wstring(L"J\uFFFDrgen"));
    EXPECT_TRUE(WideFromUtf8("").empty());
    EXPECT_TRUE(Utf8FromWide(L"").empty());
}
#endif

}  // namespace
