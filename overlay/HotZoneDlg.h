// "Mini-Table Hot Zone": a topmost window the user drags and sizes over the top mini-table view
// of the PKR client. Opened with the stored rectangle; after OK `m_rcZone` holds the window
// rectangle the user left (frame and caption included).
#pragma once

#include <windows.h>

#include "platform/Geometry.h"
#include "platform/win32/DialogBase.h"

class CTableHotZone final : public CDialogBase {
public:
    CTableHotZone();

    sRect m_rcZone;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
