// The cache file against power cuts, read errors and a second writer: the file layer's calls
// are recorded, and failed, by a wrapper around the real one.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CacheAtStart.h"
#include "history/CacheFileGuard.h"
#include "history/HistoryParser.h"
#include "history/StatsCache.h"
#include "history/StatsStore.h"
#include "platform/DurableFiles.h"
#include "tests/HandText.h"
#include "tests/TestSupport.h"

using testing_support::ReadFile;
using testing_support::ScopedTempDir;
using testing_support::WriteFile;

namespace {

namespace fs = std::filesystem;

std::string BaseName(const std::string& path) {
    return fs::path(path).filename().string();
}

// The machine's files, with every call logged by name ("write" once for a run of writes) and
// any one kind of call made to fail with a given error.
class CRecordingFiles final : public IDurableFiles {
public:
    std::vector<std::string> log;
    std::error_code failOpen, failSize, failWrite, failFlush, failClose, failReplace;
    std::optional<size_t> readFailsAfter;  // bytes read before the read fails
    std::error_code readError = std::make_error_code(std::errc::io_error);

    std::unique_ptr<IFileReader> OpenRead(const std::string& path,
                                          std::error_code& error) override {
        log.push_back("open " + BaseName(path));
        if (failOpen) {
            error = failOpen;
            return nullptr;
        }
        auto file = m_files.OpenRead(path, error);
        return file ? std::make_unique<CReader>(*this, std::move(file)) : nullptr;
    }
    std::unique_ptr<IFileWriter> CreateNew(const std::string& path,
                                           std::error_code& error) override {
        log.push_back("create " + BaseName(path));
        auto file = m_files.CreateNew(path, error);
        return file ? std::make_unique<CWriter>(*this, std::move(file)) : nullptr;
    }
    bool RemoveIfUnheld(const std::string& path, std::error_code& error) override {
        log.push_back("remove " + BaseName(path));
        return m_files.RemoveIfUnheld(path, error);
    }
    bool Replace(const std::string& from, const std::string& to, std::error_code& error) override {
        log.push_back("replace " + BaseName(from) + " -> " + BaseName(to));
        return Fails(failReplace, error) ? false : m_files.Replace(from, to, error);
    }
    bool MoveNoReplace(const std::string& from, const std::string& to,
                       std::error_code& error) override {
        log.push_back("move " + BaseName(from));
        return m_files.MoveNoReplace(from, to, error);
    }
    bool SyncFolder(const std::string& folder, std::error_code& error) override {
        log.push_back("sync folder " + BaseName(folder));
        return m_files.SyncFolder(folder, error);
    }

private:
    static bool Fails(const std::error_code& failure, std::error_code& error) {
        if (failure) {
            error = failure;
        }
        return static_cast<bool>(failure);
    }

    class CWriter final : public IFileWriter {
    public:
        CWriter(CRecordingFiles& owner, std::unique_ptr<IFileWriter> file)
            : m_owner(owner), m_file(std::move(file)) {}
        bool Write(const void* data, size_t size, std::error_code& error) override {
            if (m_owner.log.empty() || m_owner.log.back() != "write") {
                m_owner.log.emplace_back("write");
            }
            return !Fails(m_owner.failWrite, error) && m_file->Write(data, size, error);
        }
        bool Flush(std::error_code& error) override {
            m_owner.log.emplace_back("flush");
            return !Fails(m_owner.failFlush, error) && m_file->Flush(error);
        }
        bool Close(std::error_code& error) override {
            m_owner.log.emplace_back("close");
            const bool closed = m_file->Close(error);
            return !Fails(m_owner.failClose, error) && closed;
        }

    private:
        CRecordingFiles& m_owner;
        std::unique_ptr<IFileWriter> m_file;
    };

    class CReader final : public IFileReader {
    public:
        CReader(CRecordingFiles& owner, std::unique_ptr<IFileReader> file)
            : m_owner(owner), m_file(std::move(file)) {}
        bool Size(uint64_t& size, std::error_code& error) override {
            return !Fails(m_owner.failSize, error) && m_file->Size(size, error);
        }
        size_t Read(void* out, size_t size, std::error_code& error) override {
            const std::optional<size_t> limit = m_owner.readFailsAfter;
            if (!limit) {
                return m_file->Read(out, size, error);
            }
            const size_t allowed = *limit > m_read ? *limit - m_read : 0;
            const size_t got = m_file->Read(out, std::min(size, allowed), error);
            m_read += got;
            if (got < size && m_owner.readError) {
                error = m_owner.readError;
            }
            return got;
        }

    private:
        CRecordingFiles& m_owner;
        std::unique_ptr<IFileReader> m_file;
        size_t m_read = 0;
    };

    IDurableFiles& m_files = SystemDurableFiles();
};

CStatsStore Players(std::initializer_list<const char*> names) {
    CStatsStore store;
    for (const char* name : names) {
        store.AddPlayer(name);
    }
    store.AddCountedHand(42);
    store.AppendLoadedFile("/hh/Table.txt", 1700000000);
    return store;
}

// Every file in the folder, by name.
std::vector<std::string> FolderContent(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class CacheDurabilityTest : public ::testing::Test {
protected:
    ScopedTempDir dir;
    std::string path = dir.File(kCacheFileName);
    CRecordingFiles files;
};

TEST_F(CacheDurabilityTest, TheNewFileIsOnTheDiskBeforeItReplacesTheOldOne) {
    std::error_code error;
    ASSERT_TRUE(SaveStatsCache(Players({"Ann"}), path, error, SystemCachePathCodec(), files));
    const std::string tmp = std::string(kCacheFileName) + ".tmp";
    const std::vector<std::string> expected = {
        "create " + tmp,
        "write",
        "flush",
        "close",
        "replace " + tmp + " -> " + kCacheFileName,
        "sync folder " + dir.Path().filename().string(),
    };
    EXPECT_EQ(files.log, expected);
    CStatsStore loaded;
    EXPECT_EQ(LoadStatsCacheEx(loaded, path), eCacheLoad::Loaded);
    EXPECT_EQ(loaded.PlayerName(0), "Ann");
}

// A save that fails at any step before the rename leaves the previous cache as it was, removes
// its temporary file and says why.
TEST_F(CacheDurabilityTest, AFailureBeforeTheRenameKeepsThePreviousCache) {
    ASSERT_TRUE(SaveStatsCache(Players({"Ann"}), path));
    const std::string previous = ReadFile(path);
    struct sStep {
        const char* name;
        std::error_code CRecordingFiles::*failure;
        std::errc error;
    };
    for (const sStep& step :
         {sStep{"write", &CRecordingFiles::failWrite, std::errc::no_space_on_device},
          sStep{"flush", &CRecordingFiles::failFlush, std::errc::io_error},
          sStep{"close", &CRecordingFiles::failClose, std::errc::io_error},
          sStep{"rename", &CRecordingFiles::failReplace, std::errc::permission_denied}}) {
        CRecordingFiles failing;
        failing.*step.failure = std::make_error_code(step.error);
        std::error_code error;
        EXPECT_FALSE(
            SaveStatsCache(Players({"Ben", "Cid"}), path, error, SystemCachePathCodec(), failing))
            << step.name;
        EXPECT_EQ(error, step.error) << step.name << ": " << error.message();
        EXPECT_EQ(ReadFile(path), previous) << step.name;
        EXPECT_EQ(FolderContent(dir.Path()), std::vector<std::string>{kCacheFileName}) << step.name;
        if (step.failure == &CRecordingFiles::failFlush) {
            // Nothing unflushed is ever renamed into place.
            EXPECT_EQ(
                std::count_if(failing.log.begin(), failing.log.end(),
                              [](const std::string& call) { return call.starts_with("replace"); }),
                0);
        }
    }
}

// A file that cannot be read whole (the size, the open or a read fails, or it is cut while it
// is read) may be a good cache: it is left where it is, never set aside, and the reason is told.
// Only a file read whole that fails its checks is rejected.
TEST_F(CacheDurabilityTest, AReadErrorIsNotADamagedFile) {
    ASSERT_TRUE(SaveStatsCache(Players({"Ann", "Ben"}), path));
    const std::string good = ReadFile(path);
    struct sCase {
        const char* what;
        void (*arrange)(CRecordingFiles&);
        std::errc reason;
    };
    const sCase cases[] = {
        {"open fails",
         [](CRecordingFiles& f) {
             f.failOpen = std::make_error_code(std::errc::permission_denied);
         },
         std::errc::permission_denied},
        {"size fails",
         [](CRecordingFiles& f) { f.failSize = std::make_error_code(std::errc::io_error); },
         std::errc::io_error},
        {"read fails at the start", [](CRecordingFiles& f) { f.readFailsAfter = 0; },
         std::errc::io_error},
        {"read fails in a record", [](CRecordingFiles& f) { f.readFailsAfter = 500; },
         std::errc::io_error},
        {"read fails before the last marker",
         [](CRecordingFiles& f) { f.readFailsAfter = 149 + 4 + 10588 * 2 + 264 - 10; },
         std::errc::io_error},
        {"read ends short without an error",
         [](CRecordingFiles& f) {
             f.readFailsAfter = 1000;
             f.readError.clear();
         },
         std::errc::io_error},
    };
    for (const sCase& c : cases) {
        CRecordingFiles failing;
        c.arrange(failing);
        CStatsStore store;
        const sCacheLoadOutcome outcome =
            LoadStatsCacheFile(store, path, true, SystemCachePathCodec(), failing);
        EXPECT_EQ(outcome.result, eCacheLoad::Unreadable) << c.what;
        EXPECT_EQ(outcome.error, c.reason) << c.what << ": " << outcome.error.message();
        EXPECT_TRUE(outcome.setAsideAs.empty()) << c.what;
        EXPECT_EQ(store.PlayerCount(), 0) << c.what;
        EXPECT_TRUE(store.CountedHands().empty()) << c.what;
        EXPECT_EQ(ReadFile(path), good) << c.what;
        EXPECT_EQ(FolderContent(dir.Path()), std::vector<std::string>{kCacheFileName}) << c.what;
    }
    // The same bytes cut short on the disk are read whole, fail their checks and are set aside.
    WriteFile(path, good.substr(0, good.size() - 10));
    CStatsStore store;
    const sCacheLoadOutcome cut =
        LoadStatsCacheFile(store, path, true, SystemCachePathCodec(), files);
    EXPECT_EQ(cut.result, eCacheLoad::Rejected);
    EXPECT_FALSE(cut.setAsideAs.empty());
    EXPECT_FALSE(fs::exists(path));
}

// A second save while another one still writes its temporary file: the two never share a file,
// each cache that ends up in place is whole, and the other's file is never removed.
TEST_F(CacheDurabilityTest, TwoSavesAtOnceNeverInterleave) {
    ASSERT_TRUE(SaveStatsCache(Players({"Old"}), path));
    const std::string firstImage = [&] {
        ScopedTempDir other;
        const std::string elsewhere = other.File("cache.dat");
        EXPECT_TRUE(SaveStatsCache(Players({"First", "Writer"}), elsewhere));
        return ReadFile(elsewhere);
    }();

    // The first writer has begun: it holds "<name>.tmp" with half its data written.
    std::error_code error;
    std::optional<sCacheTemp> first = CreateCacheTemp(path, SystemDurableFiles(), error);
    ASSERT_TRUE(first) << error.message();
    ASSERT_EQ(first->name, path + ".tmp");
    ASSERT_TRUE(first->file->Write(firstImage.data(), firstImage.size() / 2, error));

    // The second takes another name, and its whole cache is put in place.
    ASSERT_TRUE(SaveStatsCache(Players({"Second"}), path, error, SystemCachePathCodec(), files))
        << error.message();
    EXPECT_EQ(files.log.front(), "create " + std::string(kCacheFileName) + ".tmp");
    EXPECT_NE(std::find(files.log.begin(), files.log.end(),
                        "create " + std::string(kCacheFileName) + ".1.tmp"),
              files.log.end());
    CStatsStore loaded;
    ASSERT_EQ(LoadStatsCacheEx(loaded, path), eCacheLoad::Loaded);
    EXPECT_EQ(loaded.PlayerName(0), "Second");

    // The first finishes its own file undisturbed (what it wrote before is still all there) and
    // puts it in place.
    ASSERT_TRUE(first->file->Write(firstImage.data() + firstImage.size() / 2,
                                   firstImage.size() - firstImage.size() / 2, error));
    ASSERT_TRUE(first->file->Flush(error));
    ASSERT_TRUE(first->file->Close(error));
    ASSERT_TRUE(SystemDurableFiles().Replace(first->name, path, error));
    EXPECT_EQ(ReadFile(path), firstImage);
    EXPECT_EQ(FolderContent(dir.Path()), std::vector<std::string>{kCacheFileName});
}

// What stays of a save that was killed is no other writer's: it is removed and its name used.
TEST_F(CacheDurabilityTest, ALeftoverOfAKilledSaveIsCleanedUp) {
    for (const std::string& leftover :
         {std::string(), std::string("Lanternquill_DEMOCACHEO05\n")}) {
        WriteFile(path + ".tmp", leftover);
        CRecordingFiles recording;
        std::error_code error;
        ASSERT_TRUE(
            SaveStatsCache(Players({"Ann"}), path, error, SystemCachePathCodec(), recording));
        EXPECT_EQ(recording.log[1], "remove " + std::string(kCacheFileName) + ".tmp");
        EXPECT_EQ(FolderContent(dir.Path()), std::vector<std::string>{kCacheFileName});
    }
}

// The store tells whether anything a cache file holds changed: reading it, and counting a hand
// that was counted already, do not.
TEST(StoreRevisionTest, ChangesExactlyWhenTheContentDoes) {
    CStatsStore store;
    const std::string text =
        hand_text::Header() + hand_text::Hand(7, {{1, "Ann"}, {2, "Ben"}}, {"Ann folds"});
    uint64_t seen = store.Revision();
    const auto changed = [&] {
        const bool moved = store.Revision() != seen;
        seen = store.Revision();
        return moved;
    };
    ParseHistoryText(store, text);
    EXPECT_TRUE(changed());
    ParseHistoryText(store, text);  // the same hand again is not counted
    EXPECT_FALSE(changed());
    store.RecordFileTime("/hh/A.txt", 100);
    EXPECT_TRUE(changed());
    store.RecordFileTime("/hh/A.txt", 100);
    EXPECT_FALSE(changed());
    store.RecordFileTime("/hh/A.txt", 101);
    EXPECT_TRUE(changed());
    static_cast<void>(store.FileTime("/hh/A.txt"));
    static_cast<void>(store.GetCounter(0, {GAME_HOLDEM, STAKE_50NL, SIZE_3TO6}, CNT_HANDS, false));
    EXPECT_FALSE(changed());
    store.ResetStatistics();
    EXPECT_TRUE(changed());
    // A load changes it; nothing after the load means nothing to save.
    ScopedTempDir dir;
    const std::string path = dir.File(kCacheFileName);
    ParseHistoryText(store, text);
    store.RecordFileTime("/hh/A.txt", 101);
    ASSERT_TRUE(SaveStatsCache(store, path));
    CStatsStore loaded;
    ASSERT_EQ(LoadStatsCacheEx(loaded, path), eCacheLoad::Loaded);
    const sCacheAtStart start = CacheAtStart({eCacheLoad::Loaded, {}, {}}, path, loaded.Revision());
    ParseHistoryText(loaded, text);
    loaded.RecordFileTime("/hh/A.txt", 101);
    EXPECT_FALSE(SaveCacheAtExit(start, loaded));
    loaded.RecordFileTime("/hh/B.txt", 5);
    EXPECT_TRUE(SaveCacheAtExit(start, loaded));
    // A full reload that found no history empties the store: a cache that held hands stays.
    loaded.ResetStatistics();
    EXPECT_FALSE(SaveCacheAtExit(start, loaded));
}

// What the main window tells at start, and whether its exit may write the cache file.
TEST(CacheAtStartTest, AFileThatCouldNotBeUsedIsNamedAndNeverWrittenOver) {
    const std::string file = "C:\\Games\\LanternquillCache_Trial.dat";
    const CStatsStore changed = Players({"Ann"});
    const uint64_t loadedAt = 0;  // before anything was added

    for (const eCacheLoad quiet : {eCacheLoad::Loaded, eCacheLoad::NotOpened}) {
        const sCacheAtStart start = CacheAtStart({quiet, {}, {}}, file, loadedAt);
        EXPECT_TRUE(start.message.empty());
        EXPECT_TRUE(SaveCacheAtExit(start, changed));
        EXPECT_FALSE(
            SaveCacheAtExit(CacheAtStart({quiet, {}, {}}, file, changed.Revision()), changed));
    }

    const sCacheAtStart unreadable = CacheAtStart(
        {eCacheLoad::Unreadable, std::make_error_code(std::errc::io_error), {}}, file, loadedAt);
    EXPECT_FALSE(SaveCacheAtExit(unreadable, changed));
    EXPECT_NE(unreadable.message.find(file), std::string::npos) << unreadable.message;
    EXPECT_NE(unreadable.message.find(std::make_error_code(std::errc::io_error).message()),
              std::string::npos)
        << unreadable.message;
    EXPECT_NE(unreadable.message.find("will not be saved"), std::string::npos);

    const std::string keptAs = file + ".rejected-20261210-011530";
    const sCacheAtStart setAside = CacheAtStart({eCacheLoad::Rejected, {}, keptAs}, file, loadedAt);
    EXPECT_TRUE(SaveCacheAtExit(setAside, changed));
    EXPECT_NE(setAside.message.find(keptAs), std::string::npos) << setAside.message;

    const sCacheAtStart stuck =
        CacheAtStart({eCacheLoad::Rejected, std::make_error_code(std::errc::permission_denied), {}},
                     file, loadedAt);
    EXPECT_FALSE(SaveCacheAtExit(stuck, changed));
    EXPECT_NE(stuck.message.find(std::make_error_code(std::errc::permission_denied).message()),
              std::string::npos)
        << stuck.message;
    EXPECT_NE(stuck.message.find("will not be saved"), std::string::npos);
}

}  // namespace
