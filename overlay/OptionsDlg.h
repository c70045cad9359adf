// The options dialog: shows the settings record in its controls and, on OK, hands the controls'
// states to the options logic, which updates the record and the store and reports the two
// requests (reload, troubleshooting log) that the caller then carries out.
#pragma once

#include <windows.h>

#include "overlay/SettingsStore.h"
#include "platform/win32/DialogBase.h"

class COptions final : public CDialogBase {
public:
    // `mainWindow` is moved into or out of the topmost band on OK; null leaves it alone.
    explicit COptions(ISettingsStore& store, HWND mainWindow = nullptr);

    // Valid after the dialog ended with IDOK; both stay false on Cancel.
    bool m_bReloadHistory = false;
    bool m_bCreateLog = false;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void ApplyMainWindowTopmost() const;

    ISettingsStore& m_store;
    HWND m_hMainWindow;
};
