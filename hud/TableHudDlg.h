// One table's HUD: the table settings window (template 129, hidden until the user asks for it)
// that will carry the table's seat overlays. For now it reads the table's hand history file and
// keeps its window; the overlays and the seat reader come with the HUD itself.
#pragma once

#include <windows.h>

#include <memory>

#include "app/TableHud.h"
#include "platform/win32/DialogBase.h"

class CTableHudDlg final : public CDialogBase, public ITableHud {
public:
    CTableHudDlg(_sTableOpenInfo& table, HWND mainWindow);

    bool ReadSeats() override;
    void CreateHiddenWindow(const std::string& title, sPoint topLeft) override;
    void HideWindow() override;
    void SetActive(bool active) override { m_bActive = active; }
    void SetMultiTable(bool multiTable) override { m_bMultiTable = multiTable; }
    void ApplyOverlayPositions() override {}
    void RefreshOverlays() override {}

    _sTableOpenInfo* m_pTable;
    bool m_bActive = false;
    bool m_bMultiTable = false;

protected:
    // Leaves the keyboard focus alone: setting it inside this hidden window would take the
    // activation away from the main window.
    BOOL OnInitDialog() override { return FALSE; }

private:
    HWND m_hMainWindow;
};

// Builds the HUDs of the main window's tables.
class CTableHudFactory final : public ITableHudFactory {
public:
    explicit CTableHudFactory(HWND mainWindow) noexcept : m_hMainWindow(mainWindow) {}
    std::unique_ptr<ITableHud> NewHud(_sTableOpenInfo& table) override {
        return std::make_unique<CTableHudDlg>(table, m_hMainWindow);
    }

private:
    HWND m_hMainWindow;
};
