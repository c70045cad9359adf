#include "hud/TableHudDlg.h"

#include <string>

#include "history/TextFile.h"
#include "resources/resource.h"

CTableHudDlg::CTableHudDlg(_sTableOpenInfo& table, HWND mainWindow)
    : CDialogBase(IDD_TABLE_HUD), m_pTable(&table), m_hMainWindow(mainWindow) {}

bool CTableHudDlg::ReadSeats() {
    // The file is opened exclusively, so this fails while the PKR client writes it; the next
    // selection or switch tries again.
    std::string text;
    if (!ReadTextFile(m_pTable->m_strPath, text)) {
        return false;
    }
    m_pTable->m_bChanged = false;
    return true;
}

void CTableHudDlg::CreateHiddenWindow(const std::string& title, sPoint topLeft) {
    if (Hwnd() == nullptr && Create(m_hMainWindow) == nullptr) {
        return;
    }
    SetWindowTextA(Hwnd(), title.c_str());
    SetWindowPos(Hwnd(), nullptr, topLeft.x, topLeft.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

void CTableHudDlg::HideWindow() {
    if (Hwnd() != nullptr) {
        ShowWindow(Hwnd(), SW_HIDE);
    }
}
