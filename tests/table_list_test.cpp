#include <gtest/gtest.h>

#include "TableListFakes.h"

using namespace table_fakes;

namespace {

class TableListTest : public ::testing::Test, protected sTableListRig {};

TEST_F(TableListTest, FirstTableIsSelectedAndItsHudCreatedBelowTheMainWindow) {
    tables.SetMultiTable(true);
    tables.RefreshTableList({File("Alpha", 100), File("Beta", 110), File("alpha", 1)});

    EXPECT_EQ(listBox.Lines(), (Lines{"Alpha", "Beta", "alpha"}));  // names are case-sensitive
    EXPECT_EQ(listBox.GetCurSel(), 0);
    ASSERT_EQ(factory.m_huds.size(), 1u);  // only the selected table gets a HUD
    const auto alpha = Hud("Alpha");
    EXPECT_TRUE(alpha->created);
    EXPECT_EQ(alpha->topLeft, (sPoint{364, 520}));  // main window (400, 300, 575, 520)
    EXPECT_TRUE(alpha->multiTable);
    EXPECT_EQ(ShownHuds(), Lines{"Alpha"});
    // The seat reader has read Alpha's file; Beta's is still unread.
    EXPECT_FALSE(tables.FindTable("Alpha")->m_bChanged);
    EXPECT_TRUE(tables.FindTable("Beta")->m_bChanged);
}

TEST_F(TableListTest, SelectedTableWhoseFileWasUnreadableGetsItsHudWhenTheFileChanges) {
    factory.m_unreadable.insert("Alpha");  // e.g. a hand only half written when it was chosen
    tables.RefreshTableList({File("Alpha", 100)});
    EXPECT_EQ(tables.FindTable("Alpha")->m_pHud, nullptr);

    factory.m_unreadable.clear();
    tables.RefreshTableList({File("Alpha", 100)});  // same time: nothing changed, no retry
    EXPECT_EQ(tables.FindTable("Alpha")->m_pHud, nullptr);
    tables.RefreshTableList({File("Alpha", 107)});
    EXPECT_NE(tables.FindTable("Alpha")->m_pHud, nullptr);
    EXPECT_EQ(ShownHuds(), Lines{"Alpha"});
}

// A table switched back to while its file ends in a half-written hand, whose HUD was shown
// before: it comes back with the HUD's next refresh tick that reads the seats, or with the next
// import cycle that sees the file change, and no other table's HUD is shown meanwhile.
class SwitchBackTest : public TableListTest {
protected:
    SwitchBackTest() {
        tables.RefreshTableList({File("A", 1), File("B", 1)});
        Select(1);
        Select(0);
        Hud("A")->readable = false;
        factory.m_unreadable.insert("A");
        Select(1);
        Select(0);  // back to A, mid-hand
    }
    void Select(int line) {
        listBox.SetCurSel(line);
        tables.OnSelChangeTables();
    }
};

TEST_F(SwitchBackTest, HudComesBackOnTheNextTickThatReadsTheSeats) {
    const auto a = tables.FindTable("A");
    EXPECT_TRUE(ShownHuds().empty());
    a->m_pHud->RefreshOverlays();  // still mid-hand
    EXPECT_TRUE(ShownHuds().empty());
    factory.m_huds[0]->readable = true;  // the client finished writing the hand
    a->m_pHud->RefreshOverlays();
    EXPECT_EQ(ShownHuds(), Lines{"A"});
    EXPECT_FALSE(factory.m_huds[0]->destroyed);  // the same HUD, not a rebuilt one
}

TEST_F(SwitchBackTest, HudComesBackWithTheNextCycleThatSeesTheFileChange) {
    factory.m_huds[0]->readable = true;
    factory.m_unreadable.clear();
    tables.RefreshTableList({File("B", 2)});  // another table's change: A is not retried
    EXPECT_TRUE(ShownHuds().empty());
    tables.RefreshTableList({File("A", 2)});
    EXPECT_EQ(ShownHuds(), Lines{"A"});
}

TEST_F(SwitchBackTest, MultiTableModeIsCopiedWhileWaiting) {
    tables.SetMultiTable(true);             // ticked while A was shown elsewhere
    factory.m_huds[0]->multiTable = false;  // only choosing A again may give it the mode now
    Select(1);
    Select(0);
    EXPECT_TRUE(factory.m_huds[0]->active);
    EXPECT_TRUE(factory.m_huds[0]->multiTable);
}

TEST_F(TableListTest, RetryShowsTheTableTheScanChoseNotALinePickedByHand) {
    host.m_bAutoSwitch = true;
    tables.RefreshTableList({File("A", 1), File("B", 1), File("C", 1)});
    factory.m_unreadable.insert("B");
    tables.SwitchToZone(1);  // B mid-hand: nothing shown yet
    EXPECT_TRUE(ShownHuds().empty());
    listBox.SetCurSel(2);  // C picked by hand: waits for the scan
    tables.OnSelChangeTables();
    factory.m_unreadable.clear();
    tables.RefreshTableList({File("C", 2)});
    EXPECT_TRUE(ShownHuds().empty());
    tables.RefreshTableList({File("B", 2)});
    EXPECT_EQ(ShownHuds(), Lines{"B"});
    EXPECT_EQ(listBox.GetCurSel(), 2);

    // The scan's table shown, a line without HUD picked by hand whose file then changes: the
    // shown HUD stays.
    tables.SwitchToZone(0);
    EXPECT_EQ(ShownHuds(), Lines{"A"});
    listBox.SetCurSel(2);
    tables.OnSelChangeTables();
    tables.RefreshTableList({File("C", 3)});
    EXPECT_EQ(ShownHuds(), Lines{"A"});
}

TEST_F(TableListTest, AwaitedTableStopsWaitingWhenRemovedOrAnotherIsChosen) {
    tables.RefreshTableList({File("A", 1), File("B", 1)});
    factory.m_unreadable.insert("A");
    listBox.SetCurSel(0);
    tables.OnSelChangeTables();
    tables.RemoveSelectedTable();  // B selected and shown
    factory.m_unreadable.clear();
    tables.RefreshTableList({File("A", 2)});  // A listed again, not chosen
    tables.RefreshTableList({File("A", 3)});
    EXPECT_EQ(ShownHuds(), Lines{"B"});
    EXPECT_EQ(tables.FindTable("A")->m_pHud, nullptr);

    factory.m_unreadable.insert("B");
    tables.FindTable("B")->m_pHud.reset();
    tables.UpdateTableHuds();  // B waits
    tables.SetHideHuds(true);  // ... until the HUDs are hidden
    factory.m_unreadable.clear();
    tables.RefreshTableList({File("B", 3)});
    EXPECT_TRUE(ShownHuds().empty());
}

TEST_F(TableListTest, KnownTableTakesOnlyStrictlyLaterTimes) {
    tables.RefreshTableList({File("Alpha", 100, "/hh/20081201/")});
    _sTableOpenInfo* alpha = tables.FindTable("Alpha");
    ASSERT_FALSE(alpha->m_bChanged);

    tables.RefreshTableList({File("Alpha", 100, "/hh/20081202/"), File("Alpha", 90, "/hh/x/")});
    EXPECT_FALSE(alpha->m_bChanged);
    EXPECT_EQ(alpha->m_strPath, "/hh/20081201/Alpha.txt");

    // Same table written later in another folder: that file supplies path and time.
    tables.RefreshTableList({File("Alpha", 101, "/hh/20081202/")});
    EXPECT_TRUE(alpha->m_bChanged);
    EXPECT_EQ(alpha->m_strPath, "/hh/20081202/Alpha.txt");
    EXPECT_EQ(alpha->m_tModified, 101);
    EXPECT_EQ(listBox.Lines(), Lines{"Alpha"});
}

TEST_F(TableListTest, NewTableTakesTheFirstPlaceholderOrGoesToTheEnd) {
    tables.RefreshTableList({File("A", 1), File("C", 1)});
    listBox.InsertString(1, kNoTableLine);
    listBox.AddString("< NO TABLE >");  // the list box's prefix search ignores case
    tables.RefreshTableList({File("D", 2)});
    EXPECT_EQ(listBox.Lines(), (Lines{"A", "D", "C", "< NO TABLE >"}));
    tables.RefreshTableList({File("E", 2), File("F", 2)});
    EXPECT_EQ(listBox.Lines(), (Lines{"A", "D", "C", "E", "F"}));
    EXPECT_EQ(listBox.GetCurSel(), 0);
    EXPECT_FALSE(IsPlaceholderLine(" < no table >"));
}

TEST_F(TableListTest, OnlyTheSelectedTablesHudIsShown) {
    tables.RefreshTableList({File("A", 1), File("B", 1)});
    listBox.AddString(kNoTableLine);
    listBox.SetCurSel(1);
    tables.OnSelChangeTables();
    EXPECT_EQ(ShownHuds(), Lines{"B"});
    listBox.SetCurSel(0);
    tables.OnSelChangeTables();
    EXPECT_EQ(ShownHuds(), Lines{"A"});
    EXPECT_EQ(factory.m_huds.size(), 2u);  // A's HUD shown again, not rebuilt

    listBox.SetCurSel(2);  // a placeholder hides every HUD
    tables.OnSelChangeTables();
    EXPECT_TRUE(ShownHuds().empty());
    EXPECT_EQ(tables.LastSelection(), 2);
}

TEST_F(TableListTest, HiddenHudsStillListNewTables) {
    tables.SetHideHuds(true);
    tables.RefreshTableList({File("A", 1)});
    EXPECT_EQ(listBox.GetCurSel(), 0);
    EXPECT_TRUE(factory.m_huds.empty());
}

TEST_F(TableListTest, UnreadableFileGetsAHudOnlyOnceItCanBeRead) {
    factory.m_unreadable.insert("A");
    tables.RefreshTableList({File("A", 1)});
    EXPECT_TRUE(Hud("A")->destroyed);
    EXPECT_FALSE(Hud("A")->created);
    EXPECT_EQ(tables.FindTable("A")->m_pHud, nullptr);
    EXPECT_EQ(tables.TablesWithHud(), 0u);

    factory.m_unreadable.clear();
    tables.OnSelChangeTables();
    EXPECT_EQ(ShownHuds(), Lines{"A"});
    EXPECT_EQ(tables.TablesWithHud(), 1u);

    // The HUD can no longer read: a new one that can replaces it.
    const auto first = Hud("A");
    first->readable = false;
    tables.UpdateTableHuds();
    EXPECT_TRUE(first->destroyed);
    EXPECT_EQ(ShownHuds(), Lines{"A"});
    // Neither can read: the record keeps its HUD.
    Hud("A")->readable = false;
    factory.m_unreadable.insert("A");
    tables.UpdateTableHuds();
    EXPECT_NE(tables.FindTable("A")->m_pHud, nullptr);
}

TEST_F(TableListTest, ManualSelectionWaitsForAutoSwitchWithTwoOrMoreLines) {
    host.m_bAutoSwitch = true;
    tables.RefreshTableList({File("A", 1)});  // one line: the selection still decides
    EXPECT_EQ(ShownHuds(), Lines{"A"});
    tables.RefreshTableList({File("B", 1)});
    listBox.SetCurSel(1);
    tables.OnSelChangeTables();
    EXPECT_EQ(tables.LastSelection(), 1);
    EXPECT_EQ(ShownHuds(), Lines{"A"});
}

TEST_F(TableListTest, SwitchToZonePadsSelectsAndSwitchesOnce) {
    tables.RefreshTableList({File("A", 1)});
    tables.SwitchToZone(2);
    EXPECT_EQ(listBox.Lines(), (Lines{"A", kNoTableLine, kNoTableLine}));
    EXPECT_EQ(listBox.GetCurSel(), 2);
    EXPECT_TRUE(ShownHuds().empty());

    listBox.SetCurSel(0);  // the same zone again does not reselect
    tables.SwitchToZone(2);
    EXPECT_EQ(listBox.GetCurSel(), 0);
    tables.MoveTableUp();  // after a list command it does
    tables.SwitchToZone(2);
    EXPECT_EQ(listBox.GetCurSel(), 2);
    listBox.SetCurSel(0);
    tables.ForgetAutoZone();  // and after "Auto Switch" is clicked
    tables.SwitchToZone(2);
    EXPECT_EQ(listBox.GetCurSel(), 2);
    tables.SwitchToZone(0);
    EXPECT_EQ(ShownHuds(), Lines{"A"});
    EXPECT_EQ(listBox.GetCount(), 3);
}

TEST_F(TableListTest, RemoveSelectedTableDestroysItsHudAndReselects) {
    tables.RefreshTableList({File("A", 1), File("B", 1)});
    listBox.AddString(kNoTableLine);
    tables.SwitchToZone(0);  // A's line, already selected
    tables.RemoveSelectedTable();
    EXPECT_TRUE(Hud("A")->destroyed);
    EXPECT_EQ(tables.FindTable("A"), nullptr);
    EXPECT_EQ(listBox.Lines(), Lines{"B"});  // trailing placeholder dropped
    EXPECT_EQ(ShownHuds(), Lines{"B"});
    EXPECT_EQ(tables.LastAutoZone(), -1);

    tables.RemoveSelectedTable();
    EXPECT_EQ(listBox.GetCount(), 0);
    EXPECT_EQ(tables.LastSelection(), -1);
    tables.SwitchToZone(3);
    listBox.SetCurSel(-1);
    tables.RemoveSelectedTable();  // nothing selected: nothing happens
    EXPECT_EQ(tables.LastAutoZone(), 3);
}

TEST_F(TableListTest, RemoveAllAndDestroyAllLeaveNoHud) {
    tables.RefreshTableList({File("A", 1), File("B", 1), File("C", 1)});
    listBox.SetCurSel(2);
    tables.OnSelChangeTables();
    tables.RemoveAllTables();
    EXPECT_EQ(listBox.GetCount(), 0);
    EXPECT_TRUE(tables.Tables().empty());
    for (const auto& hud : factory.m_huds) {
        EXPECT_TRUE(hud->destroyed) << hud->table;
    }
    tables.RefreshTableList({File("D", 1)});
    tables.DestroyAllTables();
    EXPECT_TRUE(Hud("D")->destroyed);
    EXPECT_EQ(listBox.Lines(), Lines{"D"});  // the list box is left alone at exit
}

}  // namespace
