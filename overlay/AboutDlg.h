// The information panel: what the program is, the overlays' keyboard modifiers, the size of the
// statistics database and the hand history folder read, with buttons for the web site, support
// e-mail and updates.
#pragma once

#include <windows.h>

#include <richedit.h>

#include <cstdint>

#include "overlay/HistoryFolderChoice.h"
#include "platform/win32/DialogBase.h"

class CAboutDlg final : public CDialogBase {
public:
    CAboutDlg(uint32_t hands, int32_t players, sHistoryFolder folder);

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    // The panel has no OK button: Enter means the default button, and the panel stays open.
    void OnOK() override;

private:
    void FillPanelText() const;
    void MakeTopmost() const;
    INT_PTR OnLink(const ENLINK& link);

    uint32_t m_nHands;
    int32_t m_nPlayers;
    sHistoryFolder m_folder;
};
