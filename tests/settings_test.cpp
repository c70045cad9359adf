#include "overlay/SettingsStore.h"

#include "overlay/OptionTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

// The twelve Boolean value names; the weeks value sits between the first three and the rest.
const std::vector<std::string> kBoolNames = {"SplitStats_Stakes",
                                             "TransparentWindows",
                                             "MainWindowAlwaysOnTop",
                                             "ShowVPIP",
                                             "ShowPFR",
                                             "ShowWTSD",
                                             "ShowWONSD",
                                             "Show3BET",
                                             "ShowFT3BET",
                                             "ShowCBET",
                                             "ShowFTCBET",
                                             "ShowAGFR"};

std::vector<bool> BoolFields(const sSettings& s) {
    return {s.SplitStats_Stakes,
            s.TransparentWindows,
            s.MainWindowAlwaysOnTop,
            s.ShowVPIP,
            s.ShowPFR,
            s.ShowWTSD,
            s.ShowWONSD,
            s.Show3BET,
            s.ShowFT3BET,
            s.ShowCBET,
            s.ShowFTCBET,
            s.ShowAGFR};
}

sSettings ReadFrom(CMemorySettingsStore& store) {
    sSettings settings;
    ReadAllSettings(store, settings);
    return settings;
}

TEST(MemorySettingsStore, ReadsDefaultUntilWrittenAndKeepsSectionsApart) {
    CMemorySettingsStore store;
    EXPECT_EQ(store.ReadInt("Options", "ShowPFR", 7), 7);
    store.WriteInt("Options", "ShowPFR", 0);
    store.WriteInt("HotZone1920x1080", "ShowPFR", 5);
    store.WriteInt("Options", "ShowPFR", -3);
    EXPECT_EQ(store.ReadInt("Options", "ShowPFR", 7), -3);
    EXPECT_EQ(store.ReadInt("HotZone1920x1080", "ShowPFR", 7), 5);
    EXPECT_EQ(store.ReadInt("Options", "showpfr", 7), 7);
    const std::vector<std::pair<std::string, int32_t>> writes = {
        {"Options\\ShowPFR", 0}, {"HotZone1920x1080\\ShowPFR", 5}, {"Options\\ShowPFR", -3}};
    EXPECT_EQ(store.m_aWrites, writes);
}

TEST(ReadAllSettings, FreshUserGetsTheDefaultsOverAnyEarlierValues) {
    CMemorySettingsStore store;
    sSettings settings;
    // Reading must overwrite every field, not only those found in the store.
    settings.SplitStats_Stakes = true;
    settings.MainWindowAlwaysOnTop = false;
    settings.OldestStatsInWeeks = 3;
    settings.ShowWONSD = true;
    settings.ShowAGFR = false;
    ReadAllSettings(store, settings);
    // Stakes merged, no transparency, on top, all shown but W$SD, 52 weeks.
    const std::vector<bool> expected = {false, false, true, true, true, true,
                                        false, true,  true, true, true, true};
    EXPECT_EQ(BoolFields(settings), expected);
    EXPECT_EQ(settings.OldestStatsInWeeks, 52);
    EXPECT_TRUE(store.m_aWrites.empty());
}

TEST(ReadAllSettings, BooleanIsTrueOnlyForAStoredOne) {
    // Every name at once: a misspelt name would read its default instead of the stored number.
    for (const int32_t stored : {1, 0, 2, -1, INT32_MIN, INT32_MAX}) {
        CMemorySettingsStore store;
        for (const std::string& name : kBoolNames) {
            store.WriteInt("Options", name, stored);
        }
        EXPECT_EQ(BoolFields(ReadFrom(store)), std::vector<bool>(kBoolNames.size(), stored == 1))
            << "stored " << stored;
    }
}

TEST(ReadAllSettings, WeeksAreClampedIntoOneTo999) {
    const std::pair<int32_t, int> cases[] = {{0, 1},      {-4, 1},     {INT32_MIN, 1},
                                             {1, 1},      {37, 37},    {999, 999},
                                             {1000, 999}, {5000, 999}, {INT32_MAX, 999}};
    for (const auto& [stored, weeks] : cases) {
        CMemorySettingsStore store;
        store.WriteInt("Options", "OldestStatsInWeeks", stored);
        EXPECT_EQ(ReadFrom(store).OldestStatsInWeeks, weeks) << stored;
    }
}

TEST(WriteAllSettings, WritesThirteenValuesInRecordOrderWithBooleansAsOneOrZero) {
    sSettings settings;
    settings.SplitStats_Stakes = true;
    settings.MainWindowAlwaysOnTop = false;
    settings.OldestStatsInWeeks = 104;
    settings.ShowWTSD = false;
    settings.ShowWONSD = true;
    settings.ShowFTCBET = false;
    CMemorySettingsStore store;
    WriteAllSettings(store, settings);

    const std::vector<std::pair<std::string, int32_t>> expected = {
        {"Options\\SplitStats_Stakes", 1},
        {"Options\\TransparentWindows", 0},
        {"Options\\MainWindowAlwaysOnTop", 0},
        {"Options\\OldestStatsInWeeks", 104},
        {"Options\\ShowVPIP", 1},
        {"Options\\ShowPFR", 1},
        {"Options\\ShowWTSD", 0},
        {"Options\\ShowWONSD", 1},
        {"Options\\Show3BET", 1},
        {"Options\\ShowFT3BET", 1},
        {"Options\\ShowCBET", 1},
        {"Options\\ShowFTCBET", 0},
        {"Options\\ShowAGFR", 1}};
    EXPECT_EQ(store.m_aWrites, expected);

    sSettings readBack;
    ReadAllSettings(store, readBack);
    EXPECT_EQ(BoolFields(readBack), BoolFields(settings));
    EXPECT_EQ(readBack.OldestStatsInWeeks, 104);
}

// `option` at `value` and every other Boolean option at the opposite, so that a line that reads
// or writes another line's member shows up as a difference.
sSettings OnlyOptionAt(const sBoolOption& option, bool value) {
    sSettings settings;
    for (const sBoolOption& other : kBoolOptions) {
        settings.*other.setting = !value;
    }
    settings.*option.setting = value;
    return settings;
}

TEST(OptionTable, EveryBooleanOptionRoundTripsOffAndOnThroughTheStore) {
    for (const sBoolOption& option : kBoolOptions) {
        for (const bool value : {false, true}) {
            SCOPED_TRACE(std::string(option.valueName) + (value ? " on" : " off"));
            const sSettings written = OnlyOptionAt(option, value);
            CMemorySettingsStore store;
            WriteAllSettings(store, written);
            EXPECT_EQ(store.ReadInt("Options", option.valueName, -1), value ? 1 : 0);

            sSettings readBack = OnlyOptionAt(option, !value);
            ReadAllSettings(store, readBack);
            EXPECT_TRUE(readBack == written);
        }
    }
}

}  // namespace
