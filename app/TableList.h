// The tracked tables and the main window's table list (list box 1005): merging each import
// cycle's changed files into records and lines, following the selection with the HUDs, and the
// lines automatic switching selects.
//
// The main window owns the list box and the HUD factory and forwards each of its table
// commands ("X", "^", "v", "Table Settings", "Multi-table", "Hide", "Auto Switch", the Options
// reload) and the list box's selection changes to the method of the same meaning below; the
// import cycle's end hands it the changed files, and automatic switching the chosen zone. The
// list box and the records change only through these methods, so the lines and the records
// stay in step. The exit sequence destroys every HUD with DestroyAllTables, leaving the list
// box alone.
#pragma once

#include <list>
#include <optional>
#include <string>
#include <vector>

#include "history/FolderScan.h"
#include "hud/TableHud.h"
#include "platform/Geometry.h"
#include "platform/ListBox.h"

// The list line that keeps a mini-table slot free.
inline constexpr const char* kNoTableLine = "< no table >";
// A new HUD window is placed this far left of the main window's left edge, at its bottom edge.
inline constexpr int kNewHudLeftOffset = 36;

// What the table list asks of the main window.
class ITableListHost {
public:
    virtual ~ITableListHost() = default;
    // The "Auto Switch" check box (1021) is ticked: IsDlgButtonChecked(hwnd, 1021) == BST_CHECKED.
    [[nodiscard]] virtual bool IsAutoSwitchTicked() = 0;
    // The main window's outer rectangle in screen pixels: GetWindowRect(hwnd).
    [[nodiscard]] virtual sRect MainWindowRect() = 0;
};

class CTableList {
public:
    CTableList(IListBox& listBox, ITableHudFactory& hudFactory, ITableListHost& host)
        : m_listBox(listBox), m_hudFactory(hudFactory), m_host(host) {}
    ~CTableList() = default;
    CTableList(const CTableList&) = delete;
    CTableList& operator=(const CTableList&) = delete;
    CTableList(CTableList&&) = delete;
    CTableList& operator=(CTableList&&) = delete;

    // Merges the files an import cycle found changed, in their order: a known table name takes a
    // strictly later time, path and the changed flag; a new name becomes a record at the tail and
    // a line in place of the first "< no table >" line (or at the end), and when no line is
    // selected then, line 0 is selected and OnSelChangeTables runs.
    void RefreshTableList(const std::vector<sModifiedFileInfo>& files);

    // The list's selection changed: remembers it (LastSelection) and, unless "Auto Switch" is
    // ticked with more than one line listed, runs UpdateTableHuds.
    void OnSelChangeTables();

    // Shows the HUD of the table on the selected line (creating it the first time the table's
    // seats can be read) and hides every other HUD. A placeholder or start-up line, no selection
    // or a ticked "Hide" leaves every HUD hidden. When the table's seats cannot be read now, it
    // waits for them: a HUD it has is made active (its refresh tick shows the overlays once the
    // seats can be read), and the next merge that sees its file change tries again.
    void UpdateTableHuds();

    // Automatic switching chose mini-table zone `zone` (0..3): pads the list with "< no table >"
    // lines up to that index, and unless the same zone was chosen last, selects line `zone` and
    // runs UpdateTableHuds.
    void SwitchToZone(int zone);

    // "X": removes the selected line and its table (destroying the HUD), drops trailing
    // placeholders, selects line 0 when nothing is selected then (running OnSelChangeTables),
    // and forgets the last automatic switch's zone. Nothing happens without a selected line.
    void RemoveSelectedTable();
    // Removes every line and table the way repeated "X" on line 0 does (Options, full reload).
    void RemoveAllTables();

    // "^": moves the selected line one up (none on line 0), drops trailing placeholders and
    // forgets the last automatic switch's zone. The HUDs are left alone: the selected table stays
    // the same.
    void MoveTableUp();
    // "v": moves the selected line one down; the last line is pushed down by a "< no table >"
    // line inserted above it, but only as far as line 3 (the fourth mini-table slot). Then as
    // MoveTableUp.
    void MoveTableDown();

    // "Table Settings": reads the selected table's seats and, when that works, hides its HUD
    // window if visible or shows it at the main window's bottom-left corner; every other table's
    // HUD window is hidden. Nothing happens without a selected line.
    void ToggleTableSettings();

    // "Multi-table": remembers the mode for HUDs shown later and copies it into every HUD, shown or
    // not, re-placing and refreshing their overlays.
    void SetMultiTable(bool multiTable);

    // "Hide": ticking remembers the selected line (LastSelection), removes the selection and hides
    // every HUD; clearing selects the remembered line again (clamped into the list) and shows
    // its HUD.
    void SetHideHuds(bool hide);
    // "Auto Switch" clicked: the next automatic switch selects its zone's line even when it is
    // the zone chosen last.
    void ForgetAutoZone() noexcept { m_nAutoZone = -1; }
    // Exit sequence: destroys every HUD and record in list order; the list box is not touched.
    void DestroyAllTables();
    // Deletes "< no table >" lines from the end of the list.
    void StripTrailingPlaceholders();

    // The first record named exactly `name`, or null.
    [[nodiscard]] _sTableOpenInfo* FindTable(const std::string& name);
    // How many tracked tables have their HUD (made the first time the table could be shown).
    [[nodiscard]] size_t TablesWithHud() const noexcept;
    // Tracked tables in order of discovery.
    [[nodiscard]] const std::list<_sTableOpenInfo>& Tables() const noexcept { return m_listTables; }
    // The selection remembered by the last selection change or "Hide" (-1: none).
    [[nodiscard]] int LastSelection() const noexcept { return m_nLastSel; }
    // The zone of the last automatic switch, until a list command or "Auto Switch" forgets it
    // (-1: none).
    [[nodiscard]] int LastAutoZone() const noexcept { return m_nAutoZone; }

private:
    void AddTableLine(const std::string& name);
    // UpdateTableHuds for the table named `name` (nullopt: none) rather than the selected line.
    void ShowOnlyHudOf(const std::optional<std::string>& name);
    void ActivateHud(ITableHud& hud) const;
    // The table is the one last chosen for showing whose seats could not be read then.
    [[nodiscard]] bool IsAwaitingHud(const _sTableOpenInfo& table) const;
    // Deletes line `from` and inserts its text at `to`, selecting it there.
    void MoveLine(int from, int to);
    // Builds, reads and creates a HUD for `table`; returns false (keeping the old HUD, if any)
    // when its seats cannot be read.
    bool CreateHud(_sTableOpenInfo& table);

    // The table last chosen for showing (by the selection or by automatic switching) while its
    // seats could not be read; reset by every later choice and by removing that table.
    std::optional<std::string> m_strAwaitingHud;
    // Records never move, so a HUD may keep a pointer to its own.
    std::list<_sTableOpenInfo> m_listTables;
    int m_nLastSel = 0;          // last remembered selection
    bool m_bMultiTable = false;  // "Multi-table" check box, copied into every HUD shown
    bool m_bHideHuds = false;    // "Hide" check box: no HUD is shown while set
    int m_nAutoZone = -1;        // zone of the last automatic switch, -1 = none
    IListBox& m_listBox;
    ITableHudFactory& m_hudFactory;
    ITableListHost& m_host;
};

// True for a placeholder line, found the way the list box's prefix search finds it: the line
// begins with "< no table >", letters compared without regard to case.
[[nodiscard]] bool IsPlaceholderLine(const std::string& line);
