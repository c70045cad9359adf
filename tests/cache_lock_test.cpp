// The lock that keeps the program and the command-line tool's import from writing one cache file
// over each other: its name for every spelling of a path, and the import's refusal while somebody
// else holds it (the system's own lock is met by the tool's tests on Windows, in cli_test).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "history/CacheLock.h"
#include "platform/NamedLock.h"
#include "tests/HandText.h"
#include "tests/TestSupport.h"
#include "tools/lanternquill/ImportCommand.h"

using testing_support::ReadFile;
using testing_support::ScopedTempDir;
using testing_support::WriteFile;

namespace {

// Locks that the test hands out: `others` holds names as other processes would, and every
// attempt is recorded. A lock taken here runs `onRelease` when it is released.
class CFakeLocks final : public INamedLocks {
public:
    sLockAttempt TryTake(const std::string& name) override {
        asked.push_back(name);
        if (others.count(name) != 0) {
            return {eLockOutcome::HeldElsewhere, nullptr};
        }
        return {eLockOutcome::Taken, std::make_unique<CHeld>(onRelease)};
    }

    std::set<std::string> others;
    std::vector<std::string> asked;
    std::function<void()> onRelease = [] {};

private:
    class CHeld final : public IHeldLock {
    public:
        explicit CHeld(std::function<void()> onRelease) : m_onRelease(std::move(onRelease)) {}
        ~CHeld() override { m_onRelease(); }
        CHeld(const CHeld&) = delete;
        CHeld& operator=(const CHeld&) = delete;

    private:
        std::function<void()> m_onRelease;
    };
};

void ExpectOneName(const std::vector<std::string>& spellings) {
    const std::string name = CacheLockName(spellings.front());
    for (const std::string& spelling : spellings) {
        EXPECT_EQ(CacheLockName(spelling), name) << spelling << " vs " << spellings.front();
    }
}

}  // namespace

TEST(CacheLockName, EverySpellingWindowsReadsAsOnePathGivesOneName) {
    ExpectOneName({
        R"(C:\Users\Jürgen\Poker\LanternquillCache_Trial.dat)",
        "c:/users/JÜRGEN/poker/lanternquillcache_trial.DAT",
        R"(C:\Users\Jürgen\.\Tools\..\Poker\\LanternquillCache_Trial.dat)",
        R"(\\?\C:\Users\Jürgen\Poker\LanternquillCache_Trial.dat)",
        R"(C:\Users\Jürgen\Poker\LanternquillCache_Trial.dat. \)",  // trailing dot and blank
    });
    // Cyrillic (with ё, outside the basic block), Greek (with a tonos and a final sigma), Polish
    // letters of Latin Extended-A.
    ExpectOneName({R"(D:\Ёж\ίς\łą.dat)", R"(d:\ёЖ\ΊΣ\ŁĄ.DAT)"});
    ExpectOneName({R"(\\Server\Share\cache.dat)", "//SERVER/share/CACHE.dat",
                   R"(\\?\UNC\server\share\cache.dat)"});
}

TEST(CacheLockName, OtherPathsGetOtherNamesThatFitAKernelObjectName) {
    const std::vector<std::string> paths = {
        R"(C:\Poker\LanternquillCache_Trial.dat)",
        R"(D:\Poker\LanternquillCache_Trial.dat)",
        R"(C:\Poker\Lanternquill\Cache_Trial.dat)",  // the separator counts
        R"(C:\PokerLanternquill\Cache_Trial.dat)",
        R"(C:\Poker\LanternquillCache_Trial.dat.tmp)",
        R"(C:\Straße\cache.dat)",  // ß has no upper case that Windows folds to
        R"(C:\Strasse\cache.dat)",
        "C:\\J\xFCrgen\\cache.dat",  // a Latin-1 byte, not UTF-8
        R"(C:\Jürgen\cache.dat)",
        R"(\\server\share\cache.dat)",
        "",
    };
    std::set<std::string> names;
    for (const std::string& path : paths) {
        const std::string name = CacheLockName(path);
        names.insert(name);
        // A kernel object name holds no backslash beyond its namespace's.
        EXPECT_EQ(name.rfind("Local\\", 0), 0U) << name;
        EXPECT_EQ(name.find('\\', 6), std::string::npos) << name;
    }
    EXPECT_EQ(names.size(), paths.size());
    const std::string longName = CacheLockName("C:\\" + std::string(5000, 'x') + "\\cache.dat");
    EXPECT_LE(longName.size(), 200U);
}

TEST(CacheLock, ARelativeNameLocksTheFileInTheCurrentFolder) {
    CFakeLocks locks;
    const std::string absolute =
        (std::filesystem::current_path() / "LanternquillCache_Trial.dat").string();
    EXPECT_EQ(AbsoluteCachePath("sub/../LanternquillCache_Trial.dat"), absolute);
    const sLockAttempt relative = LockCacheFile(locks, "LanternquillCache_Trial.dat");
    EXPECT_EQ(relative.outcome, eLockOutcome::Taken);
    const sLockAttempt full = LockCacheFile(locks, absolute);
    ASSERT_EQ(locks.asked.size(), 2U);
    EXPECT_EQ(locks.asked[0], locks.asked[1]);
    EXPECT_EQ(locks.asked[0], CacheLockName(absolute));
    EXPECT_EQ(CacheFolderOf(absolute), std::filesystem::current_path().string());
}

// The tool's import while the program (or another import) holds the cache: refused, the cache
// not read or written; once the lock is free the import holds it until its cache is written.
TEST(CacheLock, ImportIsRefusedWhileAnotherProcessHoldsTheCache) {
    ScopedTempDir dir;
    std::filesystem::create_directory(dir.Path() / "history");
    WriteFile((dir.Path() / "history" / "Alder.txt").string(),
              hand_text::Header() +
                  hand_text::Hand(1001, {{1, "Alice"}, {2, "Bob"}},
                                  {"Alice raises to $1.50", "Bob folds", "Alice wins $0.75"}));
    sImportOptions options;
    options.cacheFile = dir.File("LanternquillCache_Trial.dat");
    options.weeks = 52;
    options.folders = {(dir.Path() / "history").string()};
    CFakeLocks locks;
    locks.others.insert(CacheLockName(AbsoluteCachePath(options.cacheFile)));

    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunImport(options, out, err, locks), 1);
    EXPECT_NE(err.str().find("'" + options.cacheFile + "' is in use by Lanternquill.exe"),
              std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("nothing was imported"), std::string::npos) << err.str();
    EXPECT_TRUE(out.str().empty()) << out.str();
    EXPECT_FALSE(std::filesystem::exists(options.cacheFile));

    // An existing cache is left exactly as it is.
    const std::string before = "Lanternquill_DEMOCACHEO05\n";
    WriteFile(options.cacheFile, before);
    EXPECT_EQ(RunImport(options, out, err, locks), 1);
    EXPECT_EQ(ReadFile(options.cacheFile), before);

    std::filesystem::remove(options.cacheFile);
    locks.others.clear();
    bool writtenWhileHeld = false;
    locks.onRelease = [&] { writtenWhileHeld = std::filesystem::exists(options.cacheFile); };
    std::ostringstream err2;
    EXPECT_EQ(RunImport(options, out, err2, locks), 0) << err2.str();
    EXPECT_TRUE(writtenWhileHeld) << "the lock was released before the cache was written";
}
