// A tracked table (_sTableOpenInfo) and the table HUD as the table list logic drives it.
//
// The table HUD window (template 129, with its ten seat overlays) implements ITableHud; the table
// list gets its HUDs from an ITableHudFactory, so that the list's logic runs in tests without
// windows.
//
// Life of a HUD as the table list uses it: NewHud, then ReadSeats before any window exists; on
// success CreateHiddenWindow once, then SetMultiTable / ApplyOverlayPositions / SetActive /
// RefreshOverlays / HideWindow / the settings window calls in any order over its life; destroying
// the object destroys its window and overlays.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Geometry.h"

class ITableHud;

// One tracked table: a table whose hand history file changed during this run.
// NOLINTNEXTLINE(bugprone-reserved-identifier): the name the whole program uses for it
struct _sTableOpenInfo {
    std::unique_ptr<ITableHud> m_pHud;  // the table's HUD; null until first shown
    std::string m_strName;              // hand history file name without ".txt"; unique in the list
    std::string m_strPath;              // full path of the table's hand history file
    int64_t m_tModified = 0;            // file's last-write time when last merged
    bool m_bChanged = false;            // changed since the seat reader last read it
};

class ITableHud {
public:
    // Destroys the HUD window (if created) and its overlays.
    virtual ~ITableHud() = default;

    // Reads the current hand's seats from the table's file (its record's m_strPath). Returns
    // false when the file cannot be read; on success clears the record's m_bChanged.
    virtual bool ReadSeats() = 0;
    // Creates the HUD window (template 129, the main window as parent), titles it `title` and
    // moves it, without resizing or changing its z-order, to `topLeft` in screen pixels. The
    // window stays hidden (only the "Table Settings" command shows it).
    virtual void CreateHiddenWindow(const std::string& title, sPoint topLeft) = 0;
    // Hides the HUD window (the table settings window); the overlays follow RefreshOverlays.
    virtual void HideWindow() = 0;
    // Whether the HUD window is visible; nullopt when its state cannot be read (no window).
    [[nodiscard]] virtual std::optional<bool> IsSettingsWindowVisible() = 0;
    // Shows the HUD window where it is.
    virtual void ShowSettingsWindow() = 0;
    // Shows the HUD window with its top-left corner at `topLeft` (screen pixels), keeping its
    // size and z-order.
    virtual void ShowSettingsWindowAt(sPoint topLeft) = 0;
    // m_bActive: the HUD's table is the selected one, so its overlays may be shown.
    virtual void SetActive(bool active) = 0;
    // The HUD's own m_bMultiTable, copied from the main window's.
    virtual void SetMultiTable(bool multiTable) = 0;
    // Places the overlays from the saved layout for the current multi-table mode.
    virtual void ApplyOverlayPositions() = 0;
    // Shows or hides the overlays by m_bActive and the foreground rule, and redraws their text.
    virtual void RefreshOverlays() = 0;
};

class ITableHudFactory {
public:
    virtual ~ITableHudFactory() = default;
    // A new HUD object for `table` (its m_pTable), without a window. `table` outlives the HUD.
    [[nodiscard]] virtual std::unique_ptr<ITableHud> NewHud(_sTableOpenInfo& table) = 0;
};
