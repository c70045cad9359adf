#include "hud/Layouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>

#include "TestSupport.h"
#include "hud/DefaultLayouts.h"
#include "overlay/SettingsStore.h"
#include "platform/Taskbar.h"

namespace {

using Positions = std::array<sPoint, kSeatCount>;
using TopLefts = std::array<std::optional<sPoint>, kSeatCount>;

sLayoutChoice Choice(int layoutSize, int environment, bool multiTable = false) {
    int size = layoutSize;
    return *ChooseLayout(environment, layoutSize, multiTable, size);
}

class CFakeTaskbar final : public ITaskbar {
public:
    explicit CFakeTaskbar(std::optional<sRect> rect) : m_rect(rect) {}
    std::optional<sRect> WindowRect() override { return m_rect; }

private:
    std::optional<sRect> m_rect;
};

// The height measured from a taskbar `height` pixels high along the bottom of `screen`.
int MeasuredTaskbar(sScreenSize screen, int height) {
    CFakeTaskbar taskbar(sRect{0, screen.height - height, screen.width, screen.height});
    return TaskbarHeight(taskbar, screen.height);
}

void StoreSeat(CMemorySettingsStore& store, const std::string& section, const sLayoutChoice& choice,
               int seat, sPoint at) {
    store.WriteInt(section, choice.ValueName(seat, 0), at.x);
    store.WriteInt(section, choice.ValueName(seat, 1), at.y);
}

TEST(EnvironmentCatalogue, HoldsBothListsWholeAndInOrder) {
    const auto& catalogue = EnvironmentCatalogue();
    ASSERT_EQ(catalogue[0].tableNames.size(), 117U);
    ASSERT_EQ(catalogue[1].tableNames.size(), 155U);
    EXPECT_EQ(catalogue[0].listText, "Bar/Club Metro/Paradise Island");
    EXPECT_EQ(catalogue[1].listText, "All other environments");
    EXPECT_EQ(catalogue[0].tableNames.front(), "The Unicorn");
    EXPECT_EQ(catalogue[0].tableNames[45], "Kooaburras");  // the client's misspelling is kept
    EXPECT_EQ(catalogue[0].tableNames.back(), "Colwyn Bay");
    EXPECT_EQ(catalogue[1].tableNames[2], "Lord Nelson");
    EXPECT_EQ(catalogue[1].tableNames[128], "The EmeraldSupernova");
    EXPECT_EQ(catalogue[1].tableNames.back(), "The Mayfair");
    // Repeats are part of the lists.
    EXPECT_EQ(catalogue[0].tableNames[39], "The Arches");
    EXPECT_EQ(catalogue[0].tableNames[47], "The Arches");
    EXPECT_EQ(catalogue[1].tableNames[10], "Fortasse");
    EXPECT_EQ(catalogue[1].tableNames[12], "Fortasse");
}

TEST(EnvironmentCatalogue, TableNamePrefixChoosesTheEnvironment) {
    EXPECT_EQ(EnvironmentForTable("The Unicorn"), 0);
    EXPECT_EQ(EnvironmentForTable("The Unicorn 3"), 0);
    EXPECT_EQ(EnvironmentForTable("Lord Nelson"), 1);
    EXPECT_EQ(EnvironmentForTable("Lord Nelson 12"), 1);
    EXPECT_EQ(EnvironmentForTable("The Mayfair 2"), 1);  // the last name of the later list
    EXPECT_EQ(EnvironmentForTable("Nowhere Green"), 0);
    EXPECT_EQ(EnvironmentForTable(""), 0);
    // Case-sensitive, and only at the start of the name.
    EXPECT_EQ(EnvironmentForTable("lord nelson 1"), 0);
    EXPECT_EQ(EnvironmentForTable("Old Lord Nelson"), 0);
}

TEST(PositionNames, EveryNameSitsAtItsIndex) {
    const auto& names = OverlayPositionNames();
    EXPECT_EQ(names[0], "S_HU_L1_S1x");
    EXPECT_EQ(names[1], "S_HU_L1_S1y");
    EXPECT_EQ(names[PositionNameIndex(false, 1, 1, 3, 0)], "S_6M_L1_S3x");
    EXPECT_EQ(PositionNameIndex(false, 1, 1, 3, 0), 44U);
    EXPECT_EQ(names[PositionNameIndex(false, 0, 2, 10, 1)], "S_HU_L2_S10y");
    EXPECT_EQ(names[PositionNameIndex(true, 0, 1, 1, 0)], "M_HU_L1_S1x");
    EXPECT_EQ(PositionNameIndex(true, 0, 1, 1, 0), 120U);
    EXPECT_EQ(names[239], "M_FR_L2_S10y");
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 240U);
    EXPECT_EQ(OverlayPositionSection(1280, 1024), "OverlayPos_1280x1024");
}

TEST(ChooseLayout, FollowsTheRadioButtonsAndTheEnvironment) {
    int size = LAYOUT_UNKNOWN;
    EXPECT_FALSE(ChooseLayout(-1, LAYOUT_SIXMAX, false, size));
    EXPECT_EQ(size, LAYOUT_UNKNOWN);  // nothing happens without an environment

    auto headsUp = ChooseLayout(0, LAYOUT_HEADSUP, true, size);
    ASSERT_TRUE(headsUp);
    EXPECT_EQ(size, LAYOUT_HEADSUP);
    EXPECT_EQ(headsUp->positionedSeats, 2);
    EXPECT_EQ(headsUp->ValueName(2, 1), "M_HU_L1_S2y");

    auto sixMax = ChooseLayout(1, LAYOUT_SIXMAX, false, size);
    ASSERT_TRUE(sixMax);
    EXPECT_EQ(sixMax->positionedSeats, 6);
    EXPECT_EQ(sixMax->ValueName(6, 0), "S_6M_L2_S6x");

    // No button checked: the size so far is kept and all ten seats are placed.
    auto unchecked = ChooseLayout(0, -1, false, size);
    ASSERT_TRUE(unchecked);
    EXPECT_EQ(size, LAYOUT_SIXMAX);
    EXPECT_EQ(unchecked->positionedSeats, 10);
    EXPECT_EQ(unchecked->ValueName(1, 0), "S_6M_L1_S1x");

    int unknown = LAYOUT_UNKNOWN;
    EXPECT_FALSE(ChooseLayout(0, -1, false, unknown));
}

TEST(ChooseLayout, FullRingAlwaysUsesTheSecondEnvironment) {
    for (int environment : {0, 1}) {
        int size = LAYOUT_UNKNOWN;
        auto choice = ChooseLayout(environment, LAYOUT_FULLRING, false, size);
        ASSERT_TRUE(choice);
        EXPECT_EQ(choice->LayoutNumber(), 2);
        EXPECT_EQ(choice->ValueName(10, 1), "S_FR_L2_S10y");
    }
    // Also when the full-ring size comes from before, with no button checked.
    int size = LAYOUT_FULLRING;
    EXPECT_EQ(ChooseLayout(0, -1, true, size)->ValueName(1, 0), "M_FR_L2_S1x");
}

TEST(ReferenceResolution, PicksTheNearestDeliveredLayout) {
    struct sCase {
        sScreenSize screen;
        sScreenSize reference;
    };
    const sCase cases[] = {
        {{1000, 700}, {1024, 768}},   {{1024, 768}, {1024, 768}},   {{1025, 768}, {1280, 768}},
        {{1280, 960}, {1280, 1024}},  {{1280, 900}, {1280, 768}},   {{1280, 901}, {1280, 1024}},
        {{1499, 1200}, {1280, 1024}}, {{1500, 1000}, {1680, 1050}}, {{1799, 1050}, {1680, 1050}},
        {{1800, 1000}, {1920, 1200}}, {{2560, 1440}, {1920, 1200}},
    };
    for (const sCase& c : cases) {
        EXPECT_EQ(ReferenceResolution(c.screen), c.reference)
            << c.screen.width << "x" << c.screen.height;
    }
}

TEST(TaskbarHeight, CountsOnlyATaskbarAlongTheBottom) {
    const auto height = [](std::optional<sRect> rect) {
        CFakeTaskbar taskbar(rect);
        return TaskbarHeight(taskbar, 1024);
    };
    EXPECT_EQ(height(sRect{0, 994, 1280, 1024}), 30);
    EXPECT_EQ(height(sRect{0, 1024, 1280, 1024}), 0);
    EXPECT_EQ(height(sRect{0, 0, 1280, 30}), 32);       // at the top
    EXPECT_EQ(height(sRect{0, 1030, 1280, 1024}), 32);  // upside down
    EXPECT_EQ(height(std::nullopt), 32);                // no taskbar window, as under Wine
}

TEST(PlaceOverlays, WithoutALayoutForTheScreenScalesTheReferenceLayout) {
    CMemorySettingsStore store;
    const sLayoutChoice choice = Choice(LAYOUT_SIXMAX, 0);
    StoreSeat(store, "OverlayPos_1680x1050", choice, 1, {105, 990});
    StoreSeat(store, "OverlayPos_1680x1050", choice, 2, {1680, 0});

    // 1728 x 1080 with a 64-pixel taskbar: x by 1728/1680, y by 1080/1050. Single precision puts
    // seat 1 at 108, where double precision would truncate 107.99999 to 107.
    const Positions at = PlaceOverlays(store, choice, {1728, 1080}, 64);
    EXPECT_EQ(at[0], (sPoint{108, 1018}));
    EXPECT_EQ(at[1], (sPoint{1728, 0}));
    // Seats 3 to 6 have no stored value: spread across the middle, then scaled.
    EXPECT_EQ(at[2], (sPoint{436, 555}));  // (424, 540) scaled
    for (int i = 6; i < kSeatCount; ++i) {
        EXPECT_EQ(at[static_cast<size_t>(i)], kParkedOverlay) << i;
    }
}

TEST(PlaceOverlays, TheMarkerValueMeansNoLayoutForThisScreen) {
    CMemorySettingsStore store;
    const sLayoutChoice choice = Choice(LAYOUT_SIXMAX, 1);
    StoreSeat(store, "OverlayPos_1280x768", choice, 2, {640, 300});
    // 1280 x 800 has its own section, but seat 1's x there says "no layout": 1280 x 768's
    // layout is used, stretched by 800 / 768.
    store.WriteInt("OverlayPos_1280x800", choice.ValueName(1, 0), kNoLayoutMarker);
    store.WriteInt("OverlayPos_1280x800", choice.ValueName(2, 0), 77);
    store.WriteInt("OverlayPos_1280x800", choice.ValueName(2, 1), 64);
    EXPECT_EQ(PlaceOverlays(store, choice, {1280, 800}, 64)[1], (sPoint{640, 312}));

    // Any other value of seat 1 makes the screen's own section count.
    store.WriteInt("OverlayPos_1280x800", choice.ValueName(1, 0), 1233);
    EXPECT_EQ(PlaceOverlays(store, choice, {1280, 800}, 64)[1], (sPoint{77, 64}));
}

TEST(PlaceOverlays, OwnLayoutIsPlacedAsStoredWhateverTheTaskbar) {
    // The screen's own layout holds screen positions: stretching it by 1024 / 990 for a
    // 30-pixel taskbar on every application moved it further down with each save.
    CMemorySettingsStore store;
    const sLayoutChoice choice = Choice(LAYOUT_HEADSUP, 0);
    StoreSeat(store, "OverlayPos_1280x1024", choice, 1, {500, 990});
    StoreSeat(store, "OverlayPos_1280x1024", choice, 2, {500, 100});
    for (int taskbar : {0, 30, 64, 100}) {
        const Positions at = PlaceOverlays(store, choice, {1280, 1024}, taskbar);
        EXPECT_EQ(at[0], (sPoint{500, 990})) << taskbar;
        EXPECT_EQ(at[1], (sPoint{500, 100})) << taskbar;
    }
    // Still pulled back when off the screen.
    StoreSeat(store, "OverlayPos_1280x1024", choice, 2, {1281, 1025});
    EXPECT_EQ(PlaceOverlays(store, choice, {1280, 1024}, 30)[1], (sPoint{600, 500}));
}

// Saving and applying again, as every drag and every new HUD does, must not move anything,
// with any taskbar; whether the layout started as the screen's own or as a reference one.
TEST(SaveOverlayPositions, SaveAndApplyAgainKeepsEveryOverlayInPlace) {
    for (const int taskbar : {32, 40, 48, 64}) {
        for (const bool ownToBegin : {true, false}) {
            CMemorySettingsStore store;
            const sLayoutChoice choice = Choice(LAYOUT_FULLRING, 1);
            const sScreenSize screen{1920, 1080};
            const sScreenSize source = ownToBegin ? screen : ReferenceResolution({1728, 1080});
            for (int seat = 1; seat <= kSeatCount; ++seat) {
                StoreSeat(store, OverlayPositionSection(source.width, source.height), choice, seat,
                          {150 * seat, 1000 - 90 * seat});
            }
            const sScreenSize shown = ownToBegin ? screen : sScreenSize{1728, 1080};
            const Positions first = PlaceOverlays(store, choice, shown, taskbar);
            Positions at = first;
            for (int round = 0; round < 10; ++round) {
                TopLefts topLefts;
                for (int i = 0; i < kSeatCount; ++i) {
                    topLefts[static_cast<size_t>(i)] = at[static_cast<size_t>(i)];
                }
                SaveOverlayPositions(store, choice, shown, topLefts);
                at = PlaceOverlays(store, choice, shown, taskbar);
                ASSERT_EQ(at, first) << "taskbar " << taskbar << ", round " << round
                                     << (ownToBegin ? ", own layout" : ", reference layout");
            }
        }
    }
}

TEST(SaveOverlayPositions, SeatOneDroppedAtTheMarkerKeepsItsLayout) {
    CMemorySettingsStore store;
    const sLayoutChoice choice = Choice(LAYOUT_HEADSUP, 0);
    TopLefts topLefts;
    topLefts[0] = sPoint{kNoLayoutMarker, 300};
    topLefts[1] = sPoint{kNoLayoutMarker, 400};  // only seat 1's x means anything
    SaveOverlayPositions(store, choice, {1920, 1080}, topLefts);
    EXPECT_EQ(store.ReadInt("OverlayPos_1920x1080", choice.ValueName(1, 0), 0),
              kNoLayoutMarker - 1);
    EXPECT_EQ(store.ReadInt("OverlayPos_1920x1080", choice.ValueName(2, 0), 0), kNoLayoutMarker);
    // The screen's own layout is used, one pixel off for seat 1, not a reference one.
    const Positions at = PlaceOverlays(store, choice, {1920, 1080}, 40);
    EXPECT_EQ(at[0], (sPoint{kNoLayoutMarker - 1, 300}));
    EXPECT_EQ(at[1], (sPoint{kNoLayoutMarker, 400}));
}

TEST(PlaceOverlays, PositionsOffTheScreenArePulledBack) {
    CMemorySettingsStore store;
    const sLayoutChoice choice = Choice(LAYOUT_SIXMAX, 0);
    const std::string section = "OverlayPos_1024x768";
    StoreSeat(store, section, choice, 1, {-5, -1});
    StoreSeat(store, section, choice, 2, {1025, 769});
    StoreSeat(store, section, choice, 3, {1024, 768});
    StoreSeat(store, section, choice, 4, {INT32_MAX, INT32_MIN});
    const Positions at = PlaceOverlays(store, choice, {1024, 768}, 64);
    EXPECT_EQ(at[0], (sPoint{0, 0}));
    EXPECT_EQ(at[1], (sPoint{600, 500}));
    EXPECT_EQ(at[2], (sPoint{1024, 768}));  // exactly on the edge stays
    EXPECT_EQ(at[3], (sPoint{600, 0}));
}

TEST(PlaceOverlays, HeadsUpParksSeatsThreeToTen) {
    CMemorySettingsStore store;
    const Positions at = PlaceOverlays(store, Choice(LAYOUT_HEADSUP, 1), {1024, 768}, 64);
    EXPECT_EQ(at[0], (sPoint{100, 384}));
    EXPECT_EQ(at[1], (sPoint{192, 384}));
    for (int i = 2; i < kSeatCount; ++i) {
        EXPECT_EQ(at[static_cast<size_t>(i)], (sPoint{0, -5150})) << i;
    }
}

TEST(PlaceOverlays, FullRingReadsTheSecondEnvironmentsValues) {
    CMemorySettingsStore store;
    store.WriteInt("OverlayPos_1024x768", "S_FR_L1_S10x", 11);
    store.WriteInt("OverlayPos_1024x768", "S_FR_L2_S10x", 22);
    store.WriteInt("OverlayPos_1024x768", "S_FR_L2_S10y", 33);
    const Positions at = PlaceOverlays(store, Choice(LAYOUT_FULLRING, 0), {1024, 768}, 64);
    EXPECT_EQ(at[9], (sPoint{22, 33}));
}

TEST(SaveOverlayPositions, WritesThePositionedSeatsOfTheLayoutUnscaled) {
    TopLefts topLefts;
    for (int i = 0; i < kSeatCount; ++i) {
        topLefts[static_cast<size_t>(i)] = sPoint{10 * i, -i};
    }
    topLefts[3].reset();  // seat 4 has no overlay

    CMemorySettingsStore sixMax;
    SaveOverlayPositions(sixMax, Choice(LAYOUT_SIXMAX, 0, true), {1920, 1080}, topLefts);
    const std::vector<std::pair<std::string, int32_t>> expected = {
        {"OverlayPos_1920x1080\\M_6M_L1_S1x", 0},  {"OverlayPos_1920x1080\\M_6M_L1_S1y", 0},
        {"OverlayPos_1920x1080\\M_6M_L1_S2x", 10}, {"OverlayPos_1920x1080\\M_6M_L1_S2y", -1},
        {"OverlayPos_1920x1080\\M_6M_L1_S3x", 20}, {"OverlayPos_1920x1080\\M_6M_L1_S3y", -2},
        {"OverlayPos_1920x1080\\M_6M_L1_S5x", 40}, {"OverlayPos_1920x1080\\M_6M_L1_S5y", -4},
        {"OverlayPos_1920x1080\\M_6M_L1_S6x", 50}, {"OverlayPos_1920x1080\\M_6M_L1_S6y", -5},
    };
    EXPECT_EQ(sixMax.m_aWrites, expected);

    CMemorySettingsStore headsUp;
    SaveOverlayPositions(headsUp, Choice(LAYOUT_HEADSUP, 1), {1280, 1024}, topLefts);
    ASSERT_EQ(headsUp.m_aWrites.size(), 4U);
    EXPECT_EQ(headsUp.m_aWrites.back().first, "OverlayPos_1280x1024\\S_HU_L2_S2y");

    // Full ring chosen with the first environment showing: stored as L2.
    CMemorySettingsStore fullRing;
    SaveOverlayPositions(fullRing, Choice(LAYOUT_FULLRING, 0), {1280, 1024}, topLefts);
    ASSERT_EQ(fullRing.m_aWrites.size(), 18U);
    EXPECT_EQ(fullRing.m_aWrites.back().first, "OverlayPos_1280x1024\\S_FR_L2_S10y");
}

TEST(SaveOverlayPositions, SavedLayoutComesBackInPlace) {
    // With the standard taskbar a saved layout is placed exactly where it was saved.
    CMemorySettingsStore store;
    const sLayoutChoice choice = Choice(LAYOUT_FULLRING, 1);
    TopLefts topLefts;
    Positions expected;
    for (int i = 0; i < kSeatCount; ++i) {
        expected[static_cast<size_t>(i)] = sPoint{100 * i + 3, 1000 - 50 * i};
        topLefts[static_cast<size_t>(i)] = expected[static_cast<size_t>(i)];
    }
    SaveOverlayPositions(store, choice, {1920, 1080}, topLefts);
    EXPECT_EQ(PlaceOverlays(store, choice, {1920, 1080}, 64), expected);
}

// The delivered default layouts, read the way the registry editor imports them: sections under
// the program's key and "name"=dword:hex values. Anything else in the file fails the test.
CMemorySettingsStore LoadDeliveredLayouts(std::set<std::string>& sections) {
    const std::string text = testing_support::ReadFile(std::string(LQ_SOURCE_DIR) +
                                                       "/resources/RestoreOverlayPositions.reg");
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "REGEDIT4\r");
    const std::string keyPrefix = R"([HKEY_CURRENT_USER\Software\Quillworks\Lanternquill\)";
    CMemorySettingsStore store;
    std::string section;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        if (line.starts_with(keyPrefix) && line.back() == ']') {
            section = line.substr(keyPrefix.size(), line.size() - keyPrefix.size() - 1);
            EXPECT_TRUE(sections.insert(section).second) << section;
            continue;
        }
        const size_t equals = line.find("\"=dword:");
        if (line.front() != '"' || equals == std::string::npos || section.empty()) {
            ADD_FAILURE() << "not a value line: " << line;
            continue;
        }
        const std::string name = line.substr(1, equals - 1);
        const std::string hex = line.substr(equals + 8);
        EXPECT_EQ(hex.size(), 8U) << line;
        store.WriteInt(section, name, static_cast<int32_t>(std::strtoul(hex.c_str(), nullptr, 16)));
    }
    return store;
}

TEST(DeliveredLayouts, EveryScreenHasEveryLayoutAroundTheTable) {
    std::set<std::string> sections;
    CMemorySettingsStore store = LoadDeliveredLayouts(sections);
    std::vector<sScreenSize> screens(ReferenceResolutions().begin(), ReferenceResolutions().end());
    screens.push_back({1920, 1080});
    ASSERT_EQ(sections.size(), screens.size());

    for (const sScreenSize& screen : screens) {
        const std::string section = OverlayPositionSection(screen.width, screen.height);
        ASSERT_TRUE(sections.contains(section)) << section;
        // Every one of the 240 values, and nothing else.
        const std::string prefix = section + "\\";
        for (const std::string& name : OverlayPositionNames()) {
            EXPECT_TRUE(store.m_values.contains(prefix + name)) << section << " " << name;
        }
        EXPECT_EQ(std::count_if(store.m_values.begin(), store.m_values.end(),
                                [&](const auto& value) { return value.first.starts_with(prefix); }),
                  kPositionValueCount);
        for (bool multiTable : {false, true}) {
            for (int size : {LAYOUT_HEADSUP, LAYOUT_SIXMAX, LAYOUT_FULLRING}) {
                for (int environment : {0, 1}) {
                    const sLayoutChoice choice = Choice(size, environment, multiTable);
                    const std::string label = section + " " + choice.ValueName(1, 0);
                    // Seat 1 must not carry the "no layout here" marker.
                    EXPECT_NE(store.ReadInt(section, choice.ValueName(1, 0), 0), kNoLayoutMarker);
                    // Placed on its own screen with the usual taskbar, every overlay is wholly
                    // visible, and no two overlap.
                    const Positions at = PlaceOverlays(store, choice, screen, 40);
                    int top = screen.height;
                    int bottom = 0;
                    for (int i = 0; i < choice.positionedSeats; ++i) {
                        const sPoint p = at[static_cast<size_t>(i)];
                        EXPECT_TRUE(p.x >= 0 && p.x + 122 <= screen.width && p.y >= 0 &&
                                    p.y + 39 <= screen.height)
                            << label << " seat " << i + 1;
                        for (int j = 0; j < i; ++j) {
                            const sPoint q = at[static_cast<size_t>(j)];
                            EXPECT_FALSE(std::abs(p.x - q.x) < 122 && std::abs(p.y - q.y) < 39)
                                << label << " seats " << j + 1 << " and " << i + 1;
                        }
                        top = std::min(top, p.y);
                        bottom = std::max(bottom, p.y);
                    }
                    // Around the table, not in a row: the seats span a good part of its height.
                    const int tableHeight = (screen.height - 64) / (multiTable ? 2 : 1);
                    EXPECT_GT(bottom - top, tableHeight / 2) << label;
                }
            }
        }
    }
}

// Every layout the default file holds for a screen and layout set, with the choice that reads it.
std::vector<sLayoutChoice> EveryLayoutChoice() {
    std::vector<sLayoutChoice> choices;
    for (bool multiTable : {false, true}) {
        for (int size : {LAYOUT_HEADSUP, LAYOUT_SIXMAX, LAYOUT_FULLRING}) {
            for (int environment : {0, 1}) {
                choices.push_back(Choice(size, environment, multiTable));
            }
        }
    }
    return choices;
}

TopLefts AsTopLefts(const Positions& at) {
    TopLefts topLefts;
    std::copy(at.begin(), at.end(), topLefts.begin());
    return topLefts;
}

// The default layouts were drawn with 64 pixels kept for the taskbar: on their own screen they are
// fitted to the taskbar there is, as long as the player has not saved that layout.
TEST(DeliveredLayouts, OnTheirOwnScreenFollowTheTaskbar) {
    std::set<std::string> sections;
    CMemorySettingsStore store = LoadDeliveredLayouts(sections);
    for (const sScreenSize& screen : DefaultLayoutScreens()) {
        const std::string section = OverlayPositionSection(screen.width, screen.height);
        for (const int taskbarPixels : {32, 40, 48, 64}) {
            const int taskbar = MeasuredTaskbar(screen, taskbarPixels);
            const float scaleY = static_cast<float>(screen.height) /
                                 static_cast<float>(screen.height + taskbar - 64);
            for (const sLayoutChoice& choice : EveryLayoutChoice()) {
                const Positions at = PlaceOverlays(store, choice, screen, taskbar);
                for (int seat = 1; seat <= choice.positionedSeats; ++seat) {
                    const int y = store.ReadInt(section, choice.ValueName(seat, 1), 0);
                    const sPoint want{store.ReadInt(section, choice.ValueName(seat, 0), 0),
                                      static_cast<int>(static_cast<float>(y) * scaleY)};
                    EXPECT_EQ(at[static_cast<size_t>(seat - 1)], want)
                        << section << " " << choice.ValueName(seat, 0) << " taskbar "
                        << taskbarPixels;
                }
            }
        }
    }
    // A bottom seat of the single-table full ring on 1920 x 1080, stored at y 814: 12 pixels
    // lower with a 48-pixel taskbar, 24 with the 32 pixels assumed without a taskbar window.
    const sLayoutChoice fullRing = Choice(LAYOUT_FULLRING, 1);
    ASSERT_EQ(store.ReadInt("OverlayPos_1920x1080", fullRing.ValueName(5, 1), 0), 814);
    EXPECT_EQ(PlaceOverlays(store, fullRing, {1920, 1080}, 48)[4].y, 826);
    EXPECT_EQ(PlaceOverlays(store, fullRing, {1920, 1080}, 32)[4].y, 838);
    EXPECT_EQ(PlaceOverlays(store, fullRing, {1920, 1080}, 64)[4].y, 814);
}

// A drag saves where the overlays stand; from then on the layout is the player's and is placed as
// saved, whatever the taskbar, round after round. Importing the default file again makes it the
// default layout once more.
TEST(DeliveredLayouts, OnceSavedStayWhereThePlayerLeftThem) {
    for (const sScreenSize& screen : DefaultLayoutScreens()) {
        for (const int taskbarPixels : {32, 40, 48, 64}) {
            const int taskbar = MeasuredTaskbar(screen, taskbarPixels);
            std::set<std::string> sections;
            CMemorySettingsStore store = LoadDeliveredLayouts(sections);
            const CMemorySettingsStore delivered = store;
            std::vector<Positions> firstPlaced;
            for (const sLayoutChoice& choice : EveryLayoutChoice()) {
                const std::string label = OverlayPositionSection(screen.width, screen.height) +
                                          " " + choice.ValueName(1, 0) + " taskbar " +
                                          std::to_string(taskbarPixels);
                const Positions fitted = PlaceOverlays(store, choice, screen, taskbar);
                firstPlaced.push_back(fitted);
                Positions dropped = fitted;
                dropped[1].x += 7;  // seat 2 dragged a little to the right
                for (int round = 0; round < 10; ++round) {
                    SaveOverlayPositions(store, choice, screen, AsTopLefts(dropped));
                    ASSERT_EQ(PlaceOverlays(store, choice, screen, taskbar), dropped)
                        << label << ", round " << round;
                }
                // Dragged back where it was: nothing moves, with this taskbar or another.
                SaveOverlayPositions(store, choice, screen, AsTopLefts(fitted));
                EXPECT_EQ(PlaceOverlays(store, choice, screen, taskbar), fitted) << label;
                EXPECT_EQ(PlaceOverlays(store, choice, screen, 64), fitted) << label;
            }
            // The default file imported again: fitted to the taskbar as at the first start.
            store = delivered;
            const std::vector<sLayoutChoice> choices = EveryLayoutChoice();
            for (size_t i = 0; i < choices.size(); ++i) {
                EXPECT_EQ(PlaceOverlays(store, choices[i], screen, taskbar), firstPlaced[i]);
            }
        }
    }
}

// Layouts saved before the default ones followed the taskbar again: any seat off its default
// pixel, or a screen the default file has nothing for, keeps every seat where it was saved.
TEST(DeliveredLayouts, EarlierSavedLayoutsDoNotMove) {
    const sLayoutChoice choice = Choice(LAYOUT_FULLRING, 1, true);
    for (const int taskbar : {32, 40, 48, 64}) {
        // The default layout with seat 7 one pixel lower.
        CMemorySettingsStore store;
        Positions saved = DefaultLayout({1280, 1024}, true, LAYOUT_FULLRING, 2);
        saved[6].y += 1;
        SaveOverlayPositions(store, choice, {1280, 1024}, AsTopLefts(saved));
        EXPECT_EQ(PlaceOverlays(store, choice, {1280, 1024}, taskbar), saved) << taskbar;

        // The values the default layouts would have on 1600 x 900, which the file does not carry.
        CMemorySettingsStore other;
        const Positions computed = DefaultLayout({1600, 900}, true, LAYOUT_FULLRING, 2);
        SaveOverlayPositions(other, choice, {1600, 900}, AsTopLefts(computed));
        EXPECT_EQ(PlaceOverlays(other, choice, {1600, 900}, taskbar), computed) << taskbar;

        // A default layout with a value missing is no default layout.
        CMemorySettingsStore partial;
        Positions defaults = DefaultLayout({1024, 768}, false, LAYOUT_HEADSUP, 1);
        const sLayoutChoice headsUp = Choice(LAYOUT_HEADSUP, 0);
        partial.WriteInt("OverlayPos_1024x768", headsUp.ValueName(1, 0), defaults[0].x);
        partial.WriteInt("OverlayPos_1024x768", headsUp.ValueName(1, 1), defaults[0].y);
        partial.WriteInt("OverlayPos_1024x768", headsUp.ValueName(2, 0), defaults[1].x);
        EXPECT_EQ(PlaceOverlays(partial, headsUp, {1024, 768}, taskbar)[1],
                  (sPoint{defaults[1].x, 768 / 2}))
            << taskbar;
    }
}

}  // namespace
