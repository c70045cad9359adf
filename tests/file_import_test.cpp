#include "history/FileImport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/StatsStore.h"
#include "tests/HandText.h"
#include "tests/TestSupport.h"

using testing_support::ScopedTempDir;

namespace {

sModifiedFileInfo Found(const std::string& path, int64_t time) {
    sModifiedFileInfo file;
    file.m_strPath = path;
    file.m_tModified = time;
    return file;
}

constexpr int64_t kLongAfter = 1000;  // a reading that began long after the files were written

class FileImportTest : public ::testing::Test {
protected:
    std::string Table(const std::string& name, uint32_t hand) const {
        std::string path = dir.File(name + ".txt");
        testing_support::WriteFile(
            path, hand_text::Header() + hand_text::Hand(hand, {{1, "Ann"}, {2, "Ben"}},
                                                        {"Ann calls $1", "Ben checks"}));
        return path;
    }

    ScopedTempDir dir;
    CStatsStore store;
};

TEST_F(FileImportTest, OnlyFilesThatWereReadAreRecorded) {
    const std::string a = Table("A", 1);
    const std::string held = Table("Held", 2);
    const std::string gone = dir.File("Gone.txt");
    const std::string c = Table("C", 3);

    testing_support::ScopedUnreadableFile holding(held);
    const std::vector<sModifiedFileInfo> unread = ImportFoundFiles(
        store, {Found(a, 10), Found(held, 20), Found(gone, 30), Found(c, 40)}, kLongAfter, nullptr);

    ASSERT_EQ(unread.size(), 2u);
    EXPECT_EQ(unread[0].m_strPath, held);
    EXPECT_EQ(unread[0].m_tModified, 20);
    EXPECT_EQ(unread[1].m_strPath, gone);
    EXPECT_EQ(store.Files(), (std::vector<std::string>{a, c}));
    EXPECT_EQ(store.FileTimes(), (std::vector<int64_t>{10, 40}));
    EXPECT_TRUE(store.IsHandCounted(1));
    EXPECT_FALSE(store.IsHandCounted(2));
    EXPECT_TRUE(store.IsHandCounted(3));

    // Once it can be read, the held file counts and gets its entry; a table read again keeps
    // its one entry with its new time.
    holding.Release();
    EXPECT_TRUE(
        ImportFoundFiles(store, {Found(held, 20), Found(a, 50)}, kLongAfter, nullptr).empty());
    EXPECT_TRUE(store.IsHandCounted(2));
    EXPECT_EQ(store.Files(), (std::vector<std::string>{a, c, held}));
    EXPECT_EQ(store.FileTimes(), (std::vector<int64_t>{50, 40, 20}));
}

// A file written in the second its reading began may still grow within that second, its time
// unchanged: it is recorded as older, so that the next full import compares it as changed.
TEST_F(FileImportTest, AFileWrittenAsItsReadingBeganIsRecordedAsOlder) {
    const std::string live = Table("Live", 1);
    const std::string done = Table("Done", 2);
    EXPECT_TRUE(
        ImportFoundFiles(store, {Found(live, 500), Found(done, 499)}, 500, nullptr).empty());
    EXPECT_EQ(store.FileTime(live), 499);
    EXPECT_EQ(store.FileTime(done), 499);
    // Read again, the hands it had are not counted twice.
    EXPECT_TRUE(ImportFoundFiles(store, {Found(live, 500)}, 501, nullptr).empty());
    EXPECT_EQ(store.FileTime(live), 500);
    EXPECT_EQ(store.CountedHands().size(), 2u);
}

}  // namespace
