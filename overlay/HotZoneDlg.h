// "Mini-Table Hot Zone": a topmost window the user drags and sizes over the top mini-table view
// of the PKR client. Opened over the stored rectangle; after OK Zone() is the window rectangle
// the user left (frame and caption included), after Cancel still the one it opened with.
#pragma once

#include <windows.h>

#include "platform/Geometry.h"
#include "platform/win32/DialogBase.h"

class CTableHotZone final : public CDialogBase {
public:
    explicit CTableHotZone(const sRect& zone);

    [[nodiscard]] const sRect& Zone() const noexcept { return m_rcZone; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    sRect m_rcZone;
};
