#include "overlay/OptionsDlg.h"

#include <utility>

#include "overlay/HistoryFolderChoice.h"
#include "overlay/OptionsLogic.h"
#include "overlay/Settings.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32FolderPicker.h"
#include "platform/win32/Win32SystemFolders.h"
#include "resources/resource.h"

namespace {

// Enough for any number the user means; longer text would only be clamped to 999 anyway.
constexpr WPARAM kWeeksMaxChars = 6;

}  // namespace

COptions::COptions(ISettingsStore& store, std::string clientFolder, HWND mainWindow)
    : CDialogBase(IDD_OPTIONS),
      m_store(store),
      m_strClientFolder(std::move(clientFolder)),
      m_hMainWindow(mainWindow) {}

BOOL COptions::OnInitDialog() {
    const BOOL result = CDialogBase::OnInitDialog();
    m_bReloadHistory = false;
    m_bCreateLog = false;

    const sOptionsState state = OptionsInitialState(g_settings);
    for (const int id : kCheckBoxIds) {
        CheckDlgButton(Hwnd(), id, static_cast<UINT>(state.Check(id)));
    }
    SetItemText(kWeeksOption.controlId, state.m_strWeeks);
    m_strChosenFolder = state.m_strHistoryFolder;
    ShowHistoryFolder();

    // The template asks for digits only already; make sure of it whatever the template says.
    if (HWND weeks = Item(kWeeksOption.controlId)) {
        const LONG_PTR style = GetWindowLongPtrA(weeks, GWL_STYLE);
        if ((style & ES_NUMBER) == 0) {
            SetWindowLongPtrA(weeks, GWL_STYLE, style | ES_NUMBER);
        }
        SendMessageA(weeks, EM_SETLIMITTEXT, kWeeksMaxChars, 0);
    }
    return result;
}

BOOL COptions::OnCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED && id == IDC_BROWSE_FOLDER) {
        CWin32SystemFolders folders;
        const sHistoryFolder shown =
            HistoryFolderInUse(m_strChosenFolder, m_strClientFolder, folders);
        CWin32FolderPicker picker(Hwnd());
        if (BrowseForHistoryFolder(m_strChosenFolder, picker, shown.m_strPath)) {
            ShowHistoryFolder();
        }
        return TRUE;
    }
    if (code == BN_CLICKED && id == IDC_CLIENT_FOLDER) {
        m_strChosenFolder.clear();
        ShowHistoryFolder();
        return TRUE;
    }
    return CDialogBase::OnCommand(id, code, control);
}

void COptions::ShowHistoryFolder() {
    CWin32SystemFolders folders;
    const sHistoryFolder shown = HistoryFolderInUse(m_strChosenFolder, m_strClientFolder, folders);
    // In UTF-16: a folder of any name shows as it is.
    SetDlgItemTextW(Hwnd(), IDC_HISTORY_FOLDER, WideFromUtf8(HistoryFolderText(shown)).c_str());
    // Nothing to go back to while the client's folder is the one in use. A disabled button keeps
    // no focus: it moves on to OK.
    if (HWND clientButton = Item(IDC_CLIENT_FOLDER)) {
        const bool enable = !m_strChosenFolder.empty();
        if (!enable && GetFocus() == clientButton) {
            SendMessageA(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDOK)), TRUE);
        }
        EnableWindow(clientButton, enable ? TRUE : FALSE);
    }
}

void COptions::OnOK() {
    sOptionsState state;
    for (const int id : kCheckBoxIds) {
        state.SetCheck(id, static_cast<eCheckState>(CheckState(id)));
    }
    state.m_strWeeks = ItemText(kWeeksOption.controlId);
    state.m_strHistoryFolder = m_strChosenFolder;

    const sOptionsResult result = ApplyOptionsOk(state, g_settings, m_store);
    m_bReloadHistory = result.m_bReloadHistory;
    m_bCreateLog = result.m_bCreateLog;

    ApplyMainWindowTopmost();
    EndDialog(IDOK);
}

void COptions::ApplyMainWindowTopmost() const {
    if (m_hMainWindow == nullptr) {
        return;
    }
    SetWindowPos(m_hMainWindow, g_settings.MainWindowAlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
                 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}
