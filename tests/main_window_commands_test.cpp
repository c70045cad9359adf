#include <gtest/gtest.h>

#include "TableListFakes.h"
#include "app/MainWindowCommands.h"

using namespace table_fakes;

namespace {

constexpr const char* kNone = kNoTableLine;

class MainWindowCommandsTest : public ::testing::Test, protected sTableListRig {
protected:
    // Lists `names` as tables and selects line `sel` (the HUDs of line 0 and `sel` exist then).
    void List(const Lines& names, int sel) {
        std::vector<sModifiedFileInfo> files;
        for (const auto& name : names) {
            files.push_back(File(name, 1));
        }
        tables.RefreshTableList(files);
        Select(sel);
    }
    void Select(int sel) {
        listBox.SetCurSel(sel);
        tables.OnSelChangeTables();
    }
};

TEST_F(MainWindowCommandsTest, DownPushesTheLastLineByPlaceholdersToTheFourthSlotOnly) {
    List({"A", "B"}, 1);
    tables.MoveTableDown();
    EXPECT_EQ(listBox.Lines(), (Lines{"A", kNone, "B"}));
    tables.MoveTableDown();
    EXPECT_EQ(listBox.Lines(), (Lines{"A", kNone, kNone, "B"}));
    tables.SwitchToZone(3);  // B's line, already selected
    tables.MoveTableDown();  // line 3 is the last mini-table slot
    EXPECT_EQ(listBox.Lines(), (Lines{"A", kNone, kNone, "B"}));
    EXPECT_EQ(listBox.GetCurSel(), 3);
    EXPECT_EQ(tables.LastAutoZone(), -1);  // reset even when nothing moved
    EXPECT_EQ(ShownHuds(), Lines{"B"});    // moving never touches the HUDs
}

TEST_F(MainWindowCommandsTest, DownSwapsLinesAndATableListedPastTheFourthSlotReachesTheEnd) {
    List({"A", "B", "C", "D", "E"}, 0);
    tables.MoveTableDown();
    EXPECT_EQ(listBox.Lines(), (Lines{"B", "A", "C", "D", "E"}));
    EXPECT_EQ(listBox.GetCurSel(), 1);
    Select(3);
    tables.MoveTableDown();
    tables.MoveTableDown();
    EXPECT_EQ(listBox.Lines(), (Lines{"B", "A", "C", "E", "D"}));
    EXPECT_EQ(listBox.GetCurSel(), 4);
}

TEST_F(MainWindowCommandsTest, UpMovesOverPlaceholdersAndDropsTheTrailingOnes) {
    List({"A", "B"}, 1);
    listBox.InsertString(1, kNone);  // A, none, B
    tables.MoveTableUp();
    EXPECT_EQ(listBox.Lines(), (Lines{"A", "B"}));
    EXPECT_EQ(listBox.GetCurSel(), 1);

    tables.MoveTableUp();
    listBox.AddString(kNone);
    tables.SwitchToZone(0);  // B's line, already selected
    tables.MoveTableUp();    // line 0: nothing moves, placeholders still go
    EXPECT_EQ(listBox.Lines(), (Lines{"B", "A"}));
    EXPECT_EQ(listBox.GetCurSel(), 0);
    EXPECT_EQ(tables.LastAutoZone(), -1);

    // Without a selection only the trailing placeholders go; one above a table holds its slot.
    listBox.InsertString(0, kNone);
    listBox.AddString(kNone);
    listBox.SetCurSel(-1);
    tables.MoveTableDown();
    EXPECT_EQ(listBox.Lines(), (Lines{kNone, "B", "A"}));
    EXPECT_EQ(listBox.GetCurSel(), -1);
}

TEST_F(MainWindowCommandsTest, RemovingTheOnlyLineLeavesNothingSelectedOrShown) {
    List({"A"}, 0);
    tables.RemoveSelectedTable();
    EXPECT_TRUE(listBox.Lines().empty());
    EXPECT_EQ(tables.LastSelection(), -1);
    EXPECT_TRUE(Hud("A")->destroyed);
    EXPECT_TRUE(tables.Tables().empty());
}

TEST_F(MainWindowCommandsTest, HideRemembersTheLineAndShowsItsTableAgain) {
    List({"A", "B", "C"}, 2);
    tables.SetHideHuds(true);
    EXPECT_EQ(listBox.GetCurSel(), -1);
    EXPECT_TRUE(ShownHuds().empty());
    tables.SwitchToZone(0);  // automatic switching selects while hidden, but shows nothing
    EXPECT_TRUE(ShownHuds().empty());
    listBox.SetCurSel(-1);

    tables.SetHideHuds(false);
    EXPECT_EQ(listBox.GetCurSel(), 2);
    EXPECT_EQ(ShownHuds(), Lines{"C"});
}

TEST_F(MainWindowCommandsTest, HideClearedClampsTheRememberedLineIntoTheList) {
    List({"A", "B"}, 1);
    for (int i = 0; i < 4; ++i) {
        listBox.AddString(kNone);
    }
    Select(5);
    tables.SetHideHuds(true);  // remembers line 5
    tables.MoveTableUp();      // nothing selected: only the trailing placeholders go
    ASSERT_EQ(listBox.Lines(), (Lines{"A", "B"}));
    tables.SetHideHuds(false);
    EXPECT_EQ(listBox.GetCurSel(), 1);
    EXPECT_EQ(ShownHuds(), Lines{"B"});

    listBox.SetCurSel(-1);
    tables.SetHideHuds(true);
    EXPECT_EQ(tables.LastSelection(), -1);
    tables.RemoveAllTables();
    tables.SetHideHuds(false);  // empty list: line 0 is remembered, none can be selected
    EXPECT_EQ(tables.LastSelection(), 0);
    EXPECT_EQ(listBox.GetCurSel(), -1);
}

TEST_F(MainWindowCommandsTest, TableSettingsTogglesTheSelectedWindowAndHidesTheOthers) {
    List({"A", "B"}, 1);
    Hud("A")->windowVisible = true;
    tables.ToggleTableSettings();
    EXPECT_EQ(Hud("B")->windowVisible, true);
    EXPECT_EQ(Hud("B")->windowShownAt, (sPoint{400, 520}));  // main window's bottom-left
    EXPECT_EQ(Hud("A")->windowVisible, false);
    tables.ToggleTableSettings();
    EXPECT_EQ(Hud("B")->windowVisible, false);

    // A window whose state cannot be read is shown where it is.
    Hud("B")->windowVisible = std::nullopt;
    Hud("B")->windowShownAt.reset();
    tables.ToggleTableSettings();
    EXPECT_EQ(Hud("B")->windowVisible, true);
    EXPECT_FALSE(Hud("B")->windowShownAt.has_value());
}

TEST_F(MainWindowCommandsTest, TableSettingsOnAnUnreadableOrHudlessTableStillHidesTheOthers) {
    List({"A", "B", "C"}, 1);
    Hud("A")->windowVisible = true;
    Hud("B")->readable = false;
    tables.ToggleTableSettings();
    EXPECT_EQ(Hud("B")->windowVisible, false);
    EXPECT_EQ(Hud("A")->windowVisible, false);

    Hud("A")->windowVisible = true;
    factory.m_unreadable.insert("C");
    Select(2);
    ASSERT_EQ(tables.FindTable("C")->m_pHud, nullptr);
    tables.ToggleTableSettings();
    EXPECT_EQ(Hud("A")->windowVisible, false);

    Hud("A")->windowVisible = true;
    listBox.SetCurSel(-1);
    tables.ToggleTableSettings();  // nothing selected: nothing happens
    EXPECT_EQ(Hud("A")->windowVisible, true);
}

TEST_F(MainWindowCommandsTest, MultiTableReachesEveryHudIncludingInactiveOnes) {
    List({"A", "B", "C"}, 1);  // A and B have HUDs, C none
    tables.SetMultiTable(true);
    for (const char* name : {"A", "B"}) {
        EXPECT_TRUE(Hud(name)->multiTableWhenPlaced) << name << ": placed from the old layout set";
    }
    EXPECT_EQ(ShownHuds(), Lines{"B"});  // refreshing does not show the inactive one
    Select(2);
    EXPECT_TRUE(Hud("C")->multiTableWhenPlaced);  // a HUD built later starts in the new mode
    tables.SetMultiTable(false);
    EXPECT_FALSE(Hud("A")->multiTableWhenPlaced);
}

TEST_F(MainWindowCommandsTest, OptionsReloadEmptiesTheListAndTheNextImportStartsAfresh) {
    List({"A", "B"}, 1);
    tables.MoveTableDown();  // A, none, B
    tables.RemoveAllTables();
    EXPECT_TRUE(listBox.Lines().empty());
    EXPECT_TRUE(tables.Tables().empty());
    for (const auto& hud : factory.m_huds) {
        EXPECT_TRUE(hud->destroyed) << hud->table;
    }
    tables.RefreshTableList({File("B", 2), File("A", 2)});
    EXPECT_EQ(listBox.Lines(), (Lines{"B", "A"}));
    EXPECT_EQ(ShownHuds(), Lines{"B"});
}

TEST(ShrinkTest, ExpandRestoresTheLargestHeightSeen) {
    g_nExpandedHeight = 0;
    const sShrinkResult shrunk = ToggleShrink(true, 340);
    EXPECT_STREQ(shrunk.buttonText, "Expand");
    EXPECT_EQ(shrunk.height, kShrunkHeight);
    // The shrunk height itself never becomes the height to restore.
    const sShrinkResult expanded = ToggleShrink(false, kShrunkHeight);
    EXPECT_STREQ(expanded.buttonText, "Shrink");
    EXPECT_EQ(expanded.height, 340);
    EXPECT_EQ(ToggleShrink(true, 360).height, kShrunkHeight);
    EXPECT_EQ(ToggleShrink(false, kShrunkHeight).height, 360);
    g_nExpandedHeight = 0;
}

}  // namespace
