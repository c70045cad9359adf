#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <optional>
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

// Hives listed have the "SOFTWARE\PKR" key; the text is "InstallDirectory" ("" = unreadable).
struct sFakeRegistry final : IRegistryReader {
    std::map<eRegistryHive, std::string> m_keys;
    std::optional<std::string> ReadString(eRegistryHive hive, std::string_view key,
                                          std::string_view name) override {
        if (key != "SOFTWARE\\PKR" || name != "InstallDirectory" || !m_keys.contains(hive)) {
            return std::nullopt;
        }
        return m_keys.at(hive);
    }
};

std::string Lookup(std::map<eRegistryHive, std::string> keys) {
    sFakeRegistry registry;
    registry.m_keys = std::move(keys);
    return LookUpHistoryPattern(registry);
}

TEST(HistoryFolderLookup, MachineHiveFirstThenUserThenFixedDefault) {
    using enum eRegistryHive;
    EXPECT_EQ(Lookup({{LocalMachine, "D:\\PKR"}, {CurrentUser, "E:\\PKR"}}),
              "D:\\PKR\\handhistory\\*.*");
    EXPECT_EQ(Lookup({{CurrentUser, "E:\\PKR"}}), "E:\\PKR\\handhistory\\*.*");
    EXPECT_EQ(Lookup({}), "C:\\Program Files\\PKR\\handhistory\\*.*");
    // A machine key without the value is still the one used.
    EXPECT_EQ(Lookup({{LocalMachine, ""}, {CurrentUser, "E:\\PKR"}}), "\\handhistory\\*.*");
}

TEST(HistoryFolderLookup, InstallFolderMustFitA256ByteBuffer) {
    using enum eRegistryHive;
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
