#include "overlay/OptionsDlg.h"

#include "overlay/OptionsLogic.h"
#include "overlay/Settings.h"
#include "resources/resource.h"

namespace {

// Enough for any number the user means; longer text would only be clamped to 999 anyway.
constexpr WPARAM kWeeksMaxChars = 6;

}  // namespace

COptions::COptions(ISettingsStore& store, HWND mainWindow)
    : CDialogBase(IDD_OPTIONS), m_store(store), m_hMainWindow(mainWindow) {}

BOOL COptions::OnInitDialog() {
    const BOOL result = CDialogBase::OnInitDialog();
    m_bReloadHistory = false;
    m_bCreateLog = false;

    const sOptionsState state = OptionsInitialState(g_settings);
    for (const int id : kCheckBoxIds) {
        CheckDlgButton(Hwnd(), id, static_cast<UINT>(state.Check(id)));
    }
    SetItemText(kWeeksOption.controlId, state.m_strWeeks);

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

void COptions::OnOK() {
    sOptionsState state;
    for (const int id : kCheckBoxIds) {
        state.SetCheck(id, static_cast<eCheckState>(CheckState(id)));
    }
    state.m_strWeeks = ItemText(kWeeksOption.controlId);

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
