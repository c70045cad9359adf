#include <gtest/gtest.h>

#include <map>

#include "history/FolderScan.h"
#include "history/StatsStore.h"
#include "platform/FileSystem.h"

namespace {

// An in-memory folder tree: entries in insertion order, each with a last-write time.
class FakeFileSystem final : public IFileSystem {
public:
    static std::string Join(const std::string& dir, const std::string& name) {
        return dir + kPathSeparator + name;
    }
    void AddDir(const std::string& path, int64_t time) { Add(path, true, time); }
    void AddFile(const std::string& path, int64_t time) { Add(path, false, time); }
    void Touch(const std::string& path, int64_t time) { m_times[path] = time; }

    // Listings that bring each entry's time along, as the Windows listing does.
    void GiveTimesInListings() { m_bTimesInListing = true; }
    int m_nTimeQueries = 0;

    std::vector<sDirEntry> ListDirectory(const std::string& dir) override {
        const auto it = m_children.find(dir);
        std::vector<sDirEntry> entries =
            it == m_children.end() ? std::vector<sDirEntry>{} : it->second;
        for (sDirEntry& entry : entries) {
            if (m_bTimesInListing) {
                entry.m_tLastWrite = m_times[Join(dir, entry.m_strName)];
            }
        }
        return entries;
    }
    std::optional<int64_t> LastWriteTime(const std::string& path) override {
        ++m_nTimeQueries;
        const auto it = m_times.find(path);
        return it == m_times.end() ? std::nullopt : std::optional<int64_t>(it->second);
    }

private:
    void Add(const std::string& path, bool directory, int64_t time) {
        const size_t cut = path.rfind(kPathSeparator);
        sDirEntry entry;
        entry.m_strName = path.substr(cut + 1);
        entry.m_bDirectory = directory;
        m_children[path.substr(0, cut)].push_back(entry);
        m_times[path] = time;
    }
    std::map<std::string, std::vector<sDirEntry>> m_children;
    std::map<std::string, int64_t> m_times;
    bool m_bTimesInListing = false;
};

class RecordingProgress final : public IProgressSink {
public:
    void SetRange(int, int high) override { high_ = high; }
    void SetPos(int pos) override { positions.push_back(pos); }
    int high_ = 0;
    std::vector<int> positions;
};

constexpr int64_t kCutoff = 1'000'000'000;
constexpr int64_t kDay = 86400;

class FolderScanTest : public ::testing::Test {
protected:
    std::string At(const std::string& relative) const {
        std::string path = root;
        size_t start = 0;
        while (start <= relative.size()) {
            const size_t slash = relative.find('/', start);
            const size_t end = slash == std::string::npos ? relative.size() : slash;
            path = FakeFileSystem::Join(path, relative.substr(start, end - start));
            start = end + 1;
        }
        return path;
    }
    std::vector<std::string> Scan(bool fullImport, int64_t cutoff = kCutoff) {
        scan.ScanHistoryFolder(root, ".txt", cutoff, fullImport, &progress);
        return scan.ModifiedPaths();
    }

    std::string root = FakeFileSystem::Join("", "hh");
    FakeFileSystem fs;
    CStatsStore store;
    CHistoryScan scan{fs, store};
    RecordingProgress progress;
};

TEST_F(FolderScanTest, DateFoldersLongBeforeTheCutoffAreNotEntered) {
    fs.AddDir(At("20081201"), kCutoff - 4 * kDay);
    fs.AddFile(At("20081201/old.txt"), kCutoff + 10);  // would be found if the folder were entered
    fs.AddDir(At("20081205"), kCutoff - 2 * kDay);
    fs.AddFile(At("20081205/recent.txt"), kCutoff + 10);
    fs.AddDir(At("Archive"), kCutoff - 400 * kDay);
    fs.AddFile(At("Archive/kept.txt"), kCutoff + 10);
    fs.AddDir(At(".svn"), kCutoff + 10);
    fs.AddFile(At(".svn/hidden.txt"), kCutoff + 10);
    EXPECT_EQ(Scan(true),
              (std::vector<std::string>{At("20081205/recent.txt"), At("Archive/kept.txt")}));
}

TEST_F(FolderScanTest, DateFolderTestLooksAtTheLastNineCharacters) {
    EXPECT_TRUE(IsDateFolder("/hh/Hero/20081201"));
    EXPECT_TRUE(IsDateFolder("C:\\hh\\20081201"));
    EXPECT_TRUE(IsDateFolder("/hh/20-12-01"));
    EXPECT_FALSE(IsDateFolder("/hh/2008120a"));
    EXPECT_FALSE(IsDateFolder("/hh/x20081201"));
    EXPECT_FALSE(IsDateFolder("/hh/19991201"));
    EXPECT_FALSE(IsDateFolder("/2008"));
}

TEST_F(FolderScanTest, FilterIgnoresCaseAndNamesLoseTheirExtension) {
    fs.AddFile(At("HAND.TXT"), kCutoff);
    fs.AddFile(At("notes.text"), kCutoff);
    fs.AddFile(At("txt"), kCutoff);
    fs.AddFile(At("Too old.txt"), kCutoff - 1);
    EXPECT_EQ(Scan(false), std::vector<std::string>{At("HAND.TXT")});
    ASSERT_EQ(scan.ModifiedFiles().size(), 1u);
    EXPECT_EQ(scan.ModifiedFiles()[0].m_strName, "HAND");
    EXPECT_EQ(scan.ModifiedFiles()[0].m_tModified, kCutoff);
}

TEST_F(FolderScanTest, FullImportPassesOverFilesTheCacheHoldsUnchanged) {
    fs.AddFile(At("same.txt"), kCutoff + 5);
    fs.AddFile(At("changed.txt"), kCutoff + 9);
    fs.AddFile(At("new.txt"), kCutoff + 1);
    fs.AddFile(At("again.txt"), kCutoff + 7);
    // An older cache file with repeated entries: the newest one counts.
    store.AppendLoadedFile(At("same.txt"), kCutoff + 5);
    store.AppendLoadedFile(At("changed.txt"), kCutoff + 2);
    store.AppendLoadedFile(At("changed.txt"), kCutoff + 3);
    store.AppendLoadedFile(At("again.txt"), kCutoff + 7);
    store.AppendLoadedFile(At("again.txt"), kCutoff + 4);
    EXPECT_EQ(Scan(true), (std::vector<std::string>{At("changed.txt"), At("new.txt")}));
    // The scan only reads the file cache: a file is recorded once it has been read.
    EXPECT_EQ(store.FileTime(At("changed.txt")), kCutoff + 3);
    EXPECT_EQ(store.FileTime(At("new.txt")), std::nullopt);
}

TEST_F(FolderScanTest, LaterCyclesListEveryRecentFileWithoutTouchingTheFileCache) {
    fs.AddFile(At("t.txt"), kCutoff + 5);
    store.AppendLoadedFile(At("t.txt"), kCutoff + 5);
    EXPECT_EQ(Scan(false), std::vector<std::string>{At("t.txt")});
    EXPECT_EQ(store.Files().size(), 1u);
    // A file written between two cycles is found by the next one.
    fs.Touch(At("t.txt"), kCutoff + 100);
    EXPECT_EQ(Scan(false, kCutoff + 50), std::vector<std::string>{At("t.txt")});
    EXPECT_EQ(Scan(false, kCutoff + 101), std::vector<std::string>{});
}

TEST_F(FolderScanTest, MissingFolderYieldsNothing) {
    scan.ScanHistoryFolder(FakeFileSystem::Join("", "nowhere"), ".txt", kCutoff, true, nullptr);
    EXPECT_TRUE(scan.ModifiedFiles().empty());
}

TEST_F(FolderScanTest, ProgressWrapsPastTheExpectedCount) {
    // No file cache: 300 files are expected; the 303rd is the first past 100 %.
    for (int i = 0; i < 304; ++i) {
        fs.AddFile(At("f" + std::to_string(i) + ".txt"), kCutoff);
    }
    Scan(false);
    EXPECT_EQ(progress.high_, 100);
    ASSERT_EQ(progress.positions.size(), 305u);
    EXPECT_EQ(progress.positions[0], 1);
    EXPECT_EQ(progress.positions[3], 1);      // 3 of 300 files
    EXPECT_EQ(progress.positions[300], 100);  // 300 of 300
    EXPECT_EQ(progress.positions[302], 100);  // 302 of 300 still rounds down to 100 %
    EXPECT_EQ(progress.positions[303], 0);    // 101 %: back to 0
    EXPECT_EQ(progress.positions[304], 0);    // counting starts again: 1 of 300 is 0 %
}

// Times that come with the listing give the same scan as asking for each one, without asking.
TEST_F(FolderScanTest, TimesFromTheListingGiveTheSameScanWithoutQueries) {
    auto build = [this](FakeFileSystem& files) {
        files.AddDir(At("20081201"), kCutoff - 4 * kDay);
        files.AddFile(At("20081201/old.txt"), kCutoff + 10);
        files.AddDir(At("Hero"), kCutoff);
        files.AddFile(At("Hero/new.txt"), kCutoff + 5);
        files.AddFile(At("Hero/before.txt"), kCutoff - 1);
        files.AddFile(At("Hero/cached.txt"), kCutoff + 7);
    };
    auto scanWith = [this](FakeFileSystem& files) {
        CStatsStore cached;
        cached.AppendLoadedFile(At("Hero/cached.txt"), kCutoff + 7);
        cached.AppendLoadedFile(At("Hero/new.txt"), kCutoff);
        CHistoryScan fullScan(files, cached);
        fullScan.ScanHistoryFolder(root, ".txt", kCutoff, /*fullImport=*/true, nullptr);
        std::vector<std::pair<std::string, int64_t>> found;
        for (const auto& info : fullScan.ModifiedFiles()) {
            found.emplace_back(info.m_strPath + "|" + info.m_strName, info.m_tModified);
        }
        return std::make_pair(found, cached.FileTimes());
    };
    FakeFileSystem asking;
    build(asking);
    FakeFileSystem listing;
    build(listing);
    listing.GiveTimesInListings();

    const auto expected = scanWith(asking);
    EXPECT_EQ(scanWith(listing), expected);
    EXPECT_EQ(expected.first.size(), 1u);  // only new.txt, with its new time
    EXPECT_GT(asking.m_nTimeQueries, 0);
    EXPECT_EQ(listing.m_nTimeQueries, 0);
}

}  // namespace
