// The options dialog: shows the settings record in its controls and, on OK, hands the controls'
// states to the options logic, which updates the record and the store and reports the two
// requests (reload, troubleshooting log) that the caller then carries out. Its "Hand history
// folder" line shows the folder in use; "Browse..." chooses another with the shell's folder
// picker, "PKR client's folder" goes back to the client's.
#pragma once

#include <windows.h>

#include <string>

#include "overlay/SettingsStore.h"
#include "platform/win32/DialogBase.h"

class COptions final : public CDialogBase {
public:
    // `clientFolder` is the PKR client's hand history folder (UTF-8), shown while no other is
    // chosen. `mainWindow` is moved into or out of the topmost band on OK; null leaves it alone.
    COptions(ISettingsStore& store, std::string clientFolder, HWND mainWindow = nullptr);

    // Valid after the dialog ended with IDOK; both stay false on Cancel.
    bool m_bReloadHistory = false;
    bool m_bCreateLog = false;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;

private:
    void ApplyMainWindowTopmost() const;
    // The folder line and the client's-folder button for the current choice.
    void ShowHistoryFolder();

    ISettingsStore& m_store;
    std::string m_strClientFolder;
    std::string m_strChosenFolder;  // as the dialog holds it until OK; empty: the client's
    HWND m_hMainWindow;
};
