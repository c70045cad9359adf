// A cache folder the program may not write: the probe that finds it at start, and the texts that
// tell the player at start, at a failed exit save, and when another process has the cache.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "app/CacheNotices.h"
#include "platform/FolderProbe.h"
#include "tests/TestSupport.h"

using testing_support::ReadFile;
using testing_support::ScopedTempDir;
using testing_support::WriteFile;

namespace {

// A reason worded as Windows words its own: with a full stop and a line end.
class CWindowsWordedCategory final : public std::error_category {
public:
    [[nodiscard]] const char* name() const noexcept override { return "windows-worded"; }
    [[nodiscard]] std::string message(int /*code*/) const override {
        return "Access is denied.\r\n";
    }
};

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace

TEST(FolderProbe, LeavesAWritableFolderAsItWasAndNamesWhyAFolderIsNot) {
    ScopedTempDir dir;
    // Somebody's file under the first name the probe would try (a probe of a process killed
    // midway, or anything else): passed over, never replaced or removed.
    const std::string taken = FolderProbePath(dir.Path().string(), ::getpid(), 0);
    WriteFile(taken, "not the probe's");
    EXPECT_FALSE(ProbeFolderWritable(dir.Path().string()));
    EXPECT_EQ(ReadFile(taken), "not the probe's");
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1U) << "the probe left a file behind";

    const std::error_code missing = ProbeFolderWritable((dir.Path() / "gone").string());
    EXPECT_EQ(missing, std::errc::no_such_file_or_directory) << missing.message();
    WriteFile(dir.File("a file"), "");
    EXPECT_TRUE(ProbeFolderWritable(dir.File("a file")));
}

TEST(CacheNotices, NothingIsToldWhenTheFolderIsWritableAndTheSaveSucceeded) {
    EXPECT_FALSE(UnwritableFolderText("C:\\Poker", {}));
    EXPECT_FALSE(FailedSaveText("C:\\Poker\\LanternquillCache_Trial.dat", true, {}));
    // A save that succeeded says so, whatever a step before it left in the error.
    EXPECT_FALSE(FailedSaveText("C:\\Poker\\LanternquillCache_Trial.dat", true,
                                std::make_error_code(std::errc::permission_denied)));
}

TEST(CacheNotices, EachTextNamesThePlaceTheReasonOnceAndWhatToDo) {
    const std::string folder = "C:\\Program Files\\Lanternquill";
    const std::string path = folder + "\\LanternquillCache_Trial.dat";
    const std::error_code denied = std::make_error_code(std::errc::permission_denied);
    static const CWindowsWordedCategory windowsWorded;

    const std::optional<std::string> start = UnwritableFolderText(folder, denied);
    ASSERT_TRUE(start);
    EXPECT_NE(start->find("cannot write in the folder " + folder + ": Permission denied.\n"),
              std::string::npos)
        << *start;
    EXPECT_NE(start->find("Run Lanternquill from a folder it may write"), std::string::npos);

    const std::optional<std::string> exit =
        FailedSaveText(path, false, std::error_code(5, windowsWorded));
    ASSERT_TRUE(exit);
    EXPECT_NE(exit->find("could not save its statistics to " + path + ": Access is denied.\n"),
              std::string::npos)
        << *exit;
    EXPECT_EQ(exit->find('\r'), std::string::npos);
    EXPECT_EQ(Count(*exit, ".."), 0U) << *exit;
    EXPECT_NE(exit->find("Run Lanternquill from a folder it may write"), std::string::npos);

    // A failure without a reason is told all the same.
    const std::optional<std::string> bare = FailedSaveText(path, false, {});
    ASSERT_TRUE(bare);
    EXPECT_NE(bare->find(path + ": the system gave no reason."), std::string::npos) << *bare;

    const std::string inUse = CacheInUseText(path);
    EXPECT_EQ(Count(inUse, path), 1U) << inUse;
    EXPECT_NE(inUse.find("already running"), std::string::npos) << inUse;
    EXPECT_NE(inUse.find("command-line tool"), std::string::npos) << inUse;
}
