#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/HistoryFolder.h"
#include "app/StartupLogic.h"

namespace {

sPoint Place(CMemorySettingsStore& store, int32_t posX, int32_t posY) {
    store.WriteInt("MainWindow", "PosX", posX);
    store.WriteInt("MainWindow", "PosY", posY);
    return MainWindowPosition(store, {1920, 1080}, {180, 210});
}

TEST(MainWindowPlacement, DefaultsAreCentredTruncatingTowardZero) {
    CMemorySettingsStore store;
    EXPECT_EQ(MainWindowPosition(store, {1920, 1080}, {181, 211}), (sPoint{869, 434}));
    EXPECT_EQ(MainWindowPosition(store, {1920, 1080}, {1923, 1081}), (sPoint{-1, 0}));
}

TEST(MainWindowPlacement, EachAxisRecentredOnlyWhenPastTheScreenEdge) {
    CMemorySettingsStore store;
    EXPECT_EQ(Place(store, 1740, 870), (sPoint{1740, 870}));  // exactly at the edges
    EXPECT_EQ(Place(store, 1741, 870), (sPoint{870, 870}));
    EXPECT_EQ(Place(store, 1740, 871), (sPoint{1740, 435}));
    EXPECT_EQ(Place(store, -300, -32000), (sPoint{-300, -32000}));
    // Adding the window size must not wrap a huge value around to a small one.
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(Place(store, kMax, kMax - 100), (sPoint{870, 435}));
}

TEST(MainWindowExit, PositionSavedOnlyWhenLeftAndTopAreAboveZero) {
    CMemorySettingsStore store;
    EXPECT_TRUE(SaveMainWindowPosition(store, {1, 1, 181, 211}));
    EXPECT_EQ(store.m_values.at("MainWindow\\PosX"), 1);
    EXPECT_EQ(store.m_values.at("MainWindow\\PosY"), 1);
    const sRect notSaved[] = {
        {0, 300, 180, 510}, {700, 0, 880, 210}, {-32000, -32000, -31840, -31972}};
    for (const sRect& rc : notSaved) {
        CMemorySettingsStore untouched;
        EXPECT_FALSE(SaveMainWindowPosition(untouched, rc));
        EXPECT_TRUE(untouched.m_aWrites.empty()) << rc.left << "," << rc.top;
    }
}

struct sFakeShell final : IShellOpener {
    void Open(const std::string& file, const std::string& parameters, bool hidden) override {
        m_calls.push_back(file + " " + parameters + (hidden ? " (hidden)" : ""));
    }
    std::vector<std::string> m_calls;
};

TEST(SettingsUpgrade, AnyVersionButTheCurrentImportsTheLayoutsOnce) {
    for (const int32_t version : {0, 111, 113}) {
        CMemorySettingsStore store;
        store.WriteInt("MainWindow", "Version", version);
        sFakeShell shell;
        EXPECT_TRUE(UpgradeSettings(store, shell));
        EXPECT_FALSE(UpgradeSettings(store, shell));  // the next start
        EXPECT_EQ(shell.m_calls,
                  std::vector<std::string>{"regedit /S RestoreOverlayPositions.reg (hidden)"});
        EXPECT_EQ(store.m_values.at("MainWindow\\Version"), 112);
    }
}

// Keys listed have the "SOFTWARE\PKR" key; the text is "InstallDirectory" ("" = unreadable).
// Every read is recorded, so a test sees which keys were looked at.
struct sFakeRegistry final : IRegistryReader {
    using Place = std::pair<eRegistryHive, eRegistryView>;
    std::map<Place, std::string> m_keys;
    std::vector<Place> m_reads;
    std::optional<std::string> ReadString(eRegistryHive hive, eRegistryView view,
                                          std::string_view key, std::string_view name) override {
        m_reads.emplace_back(hive, view);
        if (key != "SOFTWARE\\PKR" || name != "InstallDirectory" ||
            !m_keys.contains({hive, view})) {
            return std::nullopt;
        }
        return m_keys.at({hive, view});
    }
};

// A system with the given 32-bit program files folder (or none) and readable folders.
struct sFakeFolders final : ISystemFolders {
    std::optional<std::string> m_programFilesX86;
    std::set<std::string> m_readable;
    std::vector<std::string> m_asked;
    std::optional<std::string> ProgramFilesX86() override { return m_programFilesX86; }
    bool IsReadableFolder(const std::string& path) override {
        m_asked.push_back(path);
        return m_readable.contains(path);
    }
};

constexpr sFakeRegistry::Place kMachine32{eRegistryHive::LocalMachine, eRegistryView::Bits32};
constexpr sFakeRegistry::Place kMachine64{eRegistryHive::LocalMachine, eRegistryView::Bits64};
constexpr sFakeRegistry::Place kUser{eRegistryHive::CurrentUser, eRegistryView::Bits64};

std::string Lookup(std::map<sFakeRegistry::Place, std::string> keys,
                   sFakeFolders folders = sFakeFolders()) {
    sFakeRegistry registry;
    registry.m_keys = std::move(keys);
    return LookUpHistoryPattern(registry, folders);
}

TEST(HistoryFolderLookup, MachineHiveFirstThenUserThenFixedDefault) {
    EXPECT_EQ(Lookup({{kMachine64, "D:\\PKR"}, {kUser, "E:\\PKR"}}), "D:\\PKR\\handhistory\\*.*");
    EXPECT_EQ(Lookup({{kUser, "E:\\PKR"}}), "E:\\PKR\\handhistory\\*.*");
    EXPECT_EQ(Lookup({}), "C:\\Program Files\\PKR\\handhistory\\*.*");
    // A machine key without the value is still the one used.
    EXPECT_EQ(Lookup({{kMachine64, ""}, {kUser, "E:\\PKR"}}), "\\handhistory\\*.*");
}

TEST(HistoryFolderLookup, MachineKeyIn32BitViewFirstThen64BitThenUser) {
    // A 32-bit installer on a 64-bit Windows writes only the 32-bit view.
    EXPECT_EQ(Lookup({{kMachine32, "C:\\Program Files (x86)\\PKR"}}),
              "C:\\Program Files (x86)\\PKR\\handhistory\\*.*");
    EXPECT_EQ(Lookup({{kMachine32, "X:\\32"}, {kMachine64, "X:\\64"}, {kUser, "X:\\user"}}),
              "X:\\32\\handhistory\\*.*");
    EXPECT_EQ(Lookup({{kMachine64, "X:\\64"}, {kUser, "X:\\user"}}), "X:\\64\\handhistory\\*.*");
    // The first key that opens decides, even without the value.
    EXPECT_EQ(Lookup({{kMachine32, ""}, {kMachine64, "X:\\64"}}), "\\handhistory\\*.*");

    // The keys are read in that order, and no further than the first that opens.
    sFakeFolders folders;
    sFakeRegistry registry;
    (void)LookUpHistoryPattern(registry, folders);
    EXPECT_EQ(registry.m_reads, (std::vector{kMachine32, kMachine64, kUser}));
    registry.m_reads.clear();
    registry.m_keys = {{kMachine64, "X:\\64"}, {kUser, "X:\\user"}};
    (void)LookUpHistoryPattern(registry, folders);
    EXPECT_EQ(registry.m_reads, (std::vector{kMachine32, kMachine64}));
    // A key found leaves the system's folders unasked.
    EXPECT_TRUE(folders.m_asked.empty());
}

TEST(HistoryFolderLookup, WithoutAKeyThe32BitProgramFilesFolderWhenItHoldsPkr) {
    sFakeFolders folders;
    folders.m_programFilesX86 = "D:\\Programs (x86)";
    folders.m_readable = {"D:\\Programs (x86)\\PKR"};
    EXPECT_EQ(Lookup({}, folders), "D:\\Programs (x86)\\PKR\\handhistory\\*.*");
    // A folder given with its trailing separator gets no second one.
    folders.m_programFilesX86 = "D:\\Programs (x86)\\";
    EXPECT_EQ(Lookup({}, folders), "D:\\Programs (x86)\\PKR\\handhistory\\*.*");
    // No PKR folder there, or no such folder on the system: the fixed default.
    folders.m_readable.clear();
    EXPECT_EQ(Lookup({}, folders), "C:\\Program Files\\PKR\\handhistory\\*.*");
    folders.m_programFilesX86.reset();
    folders.m_readable = {"C:\\Program Files (x86)\\PKR"};
    EXPECT_EQ(Lookup({}, folders), "C:\\Program Files\\PKR\\handhistory\\*.*");
    // Any key, even the user's, comes before the program files folder.
    folders.m_programFilesX86 = "D:\\Programs (x86)";
    folders.m_readable = {"D:\\Programs (x86)\\PKR"};
    EXPECT_EQ(Lookup({{kUser, "E:\\PKR"}}, folders), "E:\\PKR\\handhistory\\*.*");
}

TEST(HistoryFolderLookup, InstallFolderMustFitA256ByteBuffer) {
    constexpr sFakeRegistry::Place LocalMachine = kMachine32;
    const std::string longest = "C:\\" + std::string(252, 'p');  // 255 characters
    EXPECT_EQ(Lookup({{LocalMachine, longest}}), longest + "\\handhistory\\*.*");
    EXPECT_EQ(Lookup({{LocalMachine, longest + "q"}}), "\\handhistory\\*.*");
    // The stored terminator is the one the buffer holds: 255 characters with it still fit.
    const std::string nul(1, '\0');
    EXPECT_EQ(Lookup({{LocalMachine, longest + nul}}), longest + "\\handhistory\\*.*");
    EXPECT_EQ(Lookup({{LocalMachine, longest + "q" + nul}}), "\\handhistory\\*.*");
    EXPECT_EQ(Lookup({{LocalMachine, "C:\\PKR" + nul + nul}}), "C:\\PKR\\handhistory\\*.*");
    EXPECT_EQ(Lookup({{LocalMachine, std::string("C:\\PKR\0junk", 11)}}),
              "C:\\PKR\\handhistory\\*.*");
}

TEST(HistoryFolderLookup, FolderIsThePatternWithoutItsWildcard) {
    EXPECT_EQ(HistoryFolderFromPattern("C:\\PKR\\handhistory\\*.*"), "C:\\PKR\\handhistory");
    EXPECT_EQ(HistoryFolderFromPattern("/tmp/history"), "/tmp/history");
}

}  // namespace
