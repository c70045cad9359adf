#include "overlay/HotZoneDlg.h"

#include "overlay/HotZones.h"
#include "resources/resource.h"

CTableHotZone::CTableHotZone(const sRect& zone) : CDialogBase(IDD_HOTZONE), m_rcZone(zone) {}

BOOL CTableHotZone::OnInitDialog() {
    const BOOL result = CDialogBase::OnInitDialog();
    // A zone partly off the screen is moved onto it, keeping its size, so the user can reach it.
    const sHotZoneDialogPlacement place = PlaceHotZoneDialog(
        m_rcZone, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    SetWindowPos(Hwnd(), nullptr, place.x, place.y, place.width, place.height,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
    return result;
}

void CTableHotZone::OnOK() {
    RECT window{};
    if (GetWindowRect(Hwnd(), &window) != FALSE) {
        m_rcZone = {window.left, window.top, window.right, window.bottom};
    }
    EndDialog(IDOK);
}
