#include "overlay/HotZones.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using Writes = std::vector<std::pair<std::string, int32_t>>;

Writes ZoneWrites(const std::string& section, const sRect& rc) {
    return {{section + "\\L", rc.left},
            {section + "\\R", rc.right},
            {section + "\\T", rc.top},
            {section + "\\B", rc.bottom}};
}

// A store holding `rc` for a 1280 x 1024 screen, with its write log emptied.
CMemorySettingsStore StoreWith(const sRect& rc) {
    CMemorySettingsStore store;
    (void)SaveHotZone(store, 1280, 1024, rc);
    store.m_aWrites.clear();
    return store;
}

TEST(HotZoneLoad, FirstStartWritesDefaultsAndStacksFourZones) {
    CMemorySettingsStore store;  // 1024 x 768 screen, main window 175 pixels wide
    EXPECT_EQ(LoadHotZones(store, 1024, 768, 175),
              (HotZoneArray{sRect{849, 30, 1024, 172}, sRect{849, 172, 1024, 314},
                            sRect{849, 314, 1024, 456}, sRect{849, 456, 1024, 598}}));
    EXPECT_EQ(store.m_aWrites, ZoneWrites("HotZone1024x768", {849, 30, 1024, 172}));

    CMemorySettingsStore wide;  // 1920 x 1080, main window 180 pixels wide
    const HotZoneArray zones = LoadHotZones(wide, 1920, 1080, 180);
    EXPECT_EQ(zones[0], (sRect{1740, 30, 1920, 224}));
    EXPECT_EQ(zones[3], (sRect{1740, 612, 1920, 806}));
}

TEST(HotZoneLoad, OnlyLeftOrTopBeyondTheScreenFallsBackToAllDefaults) {
    const sRect defaults{1105, 30, 1280, 214};
    const sRect rejected[] = {{5000, 50, 5100, 150}, {1000, 1025, 1100, 1100}};
    for (const sRect& stored : rejected) {
        CMemorySettingsStore store = StoreWith(stored);
        EXPECT_EQ(LoadHotZones(store, 1280, 1024, 175)[0], defaults) << stored.left;
        EXPECT_EQ(store.m_aWrites, ZoneWrites("HotZone1280x1024", defaults));
    }
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    const sRect kept[] = {{1280, 1024, 1300, 1100},  // exactly on the far edges
                          {-50, -20, 100, 80},
                          {1000, 30, 9000, 90000},
                          {1200, 200, 1100, 100},  // right/bottom before left/top
                          {kMin, kMin, 0, 0}};
    for (const sRect& stored : kept) {
        CMemorySettingsStore store = StoreWith(stored);
        store.WriteInt("HotZone1024x768", "L", 10);
        store.m_aWrites.clear();
        EXPECT_EQ(LoadHotZones(store, 1280, 1024, 175)[0], stored) << stored.left;
        // Written back unchanged; another resolution's section is left alone.
        EXPECT_EQ(store.m_aWrites, ZoneWrites("HotZone1280x1024", stored));
        EXPECT_EQ(store.m_values.at("HotZone1024x768\\L"), 10);
    }
}

TEST(HotZoneStacking, ShortFlatInvertedAndExtremeZones) {
    EXPECT_EQ(StackHotZones({900, 100, 1000, 107})[3], (sRect{900, 121, 1000, 128}));
    EXPECT_EQ(StackHotZones({900, 100, 1000, 100})[3], (sRect{900, 100, 1000, 100}));
    EXPECT_EQ(StackHotZones({900, 100, 1000, 90})[2], (sRect{900, 80, 1000, 70}));
    // Absurd stored values stop at the 32-bit limits instead of wrapping.
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(StackHotZones({0, kMin, 10, kMax})[1], (sRect{0, kMax, 10, kMax}));
    EXPECT_EQ(StackHotZones({0, kMax, 10, kMin})[3], (sRect{0, kMin, 10, kMin}));
}

TEST(HotZoneDialog, OpensWithEditDefaultsWithoutValidatingOrWriting) {
    CMemorySettingsStore store;
    EXPECT_EQ(ReadHotZoneForDialog(store, 1024, 768, 175), (sRect{849, 32, 1024, 160}));
    CMemorySettingsStore offScreen = StoreWith({5000, 50, 5100, 150});
    EXPECT_EQ(ReadHotZoneForDialog(offScreen, 1280, 1024, 175), (sRect{5000, 50, 5100, 150}));
    EXPECT_TRUE(store.m_aWrites.empty());
    EXPECT_TRUE(offScreen.m_aWrites.empty());
}

TEST(HotZoneDialog, PlacementMovesOntoTheScreenWithoutResizing) {
    const std::pair<sRect, sHotZoneDialogPlacement> cases[] = {
        {{900, 30, 1024, 170}, {900, 30, 124, 140}},    // inside, touching the right edge
        {{900, 30, 1025, 170}, {899, 30, 125, 140}},    // one pixel past it
        {{1100, 30, 1300, 170}, {824, 30, 200, 140}},   // flush right
        {{900, 700, 1024, 800}, {900, 668, 124, 100}},  // flush bottom
        {{-40, -10, 60, 90}, {0, 0, 100, 100}},         // off the top-left corner
        {{100, 10, 1500, 90}, {0, 10, 1400, 80}},       // wider than the screen
    };
    for (const auto& [zone, expected] : cases) {
        EXPECT_EQ(PlaceHotZoneDialog(zone, {1024, 768}), expected) << zone.left << "," << zone.top;
    }
}

TEST(HotZoneDialog, OkStoresTheChosenRectangleForTheNextStart) {
    CMemorySettingsStore store;
    const HotZoneArray zones = SaveHotZone(store, 1024, 768, {700, 50, 1010, 150});
    EXPECT_EQ(store.m_aWrites, ZoneWrites("HotZone1024x768", {700, 50, 1010, 150}));
    EXPECT_EQ(zones[3], (sRect{700, 350, 1010, 450}));
    EXPECT_EQ(LoadHotZones(store, 1024, 768, 175), zones);
}

}  // namespace
