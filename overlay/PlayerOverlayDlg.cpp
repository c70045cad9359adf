#include "overlay/PlayerOverlayDlg.h"

#include <windowsx.h>

#include <string>

#include "platform/win32/ScopedWin.h"
#include "resources/resource.h"

namespace {

// Moves or sizes without ever activating: the poker client keeps the keyboard.
constexpr UINT kQuietPos = SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW;

RECT ToRect(const sRect& rc) noexcept {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

// The message box title: the program file's name without folder and extension.
std::string ApplicationName() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length);
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
}

HFONT CreateOverlayFont() {
    const std::string face(kOverlayTextStyle.face);
    return CreateFontA(kOverlayTextStyle.cellHeight, 0, 0, 0, kOverlayTextStyle.weight, FALSE,
                       FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

}  // namespace

CPlayerOverlayDlg::CPlayerOverlayDlg() : CDialogBase(IDD_PLAYER_OVERLAY) {}

bool CPlayerOverlayDlg::CreateOverlay(HWND owner, bool transparent) {
    const HWND hwnd = Create(owner);
    if (hwnd == nullptr) {
        return false;
    }
    // Clicking or dragging an overlay must leave the poker client active (WM_MOUSEACTIVATE is
    // answered too); the layered style with a black colour key rounds the panel's corners.
    LONG_PTR exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE) | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    if (transparent) {
        exStyle |= WS_EX_LAYERED;
    }
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, exStyle);
    if (transparent) {
        SetLayeredWindowAttributes(hwnd, RGB(0, 0, 0), 0, LWA_COLORKEY);
    }
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

void CPlayerOverlayDlg::Show() {
    ShowWindow(Hwnd(), SW_SHOWNA);
}

void CPlayerOverlayDlg::Hide() {
    ShowWindow(Hwnd(), SW_HIDE);
}

void CPlayerOverlayDlg::Repaint() {
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CPlayerOverlayDlg::StartStateTimer(int ms) {
    SetTimer(Hwnd(), TIMER_OVERLAY_HOVER, static_cast<UINT>(ms), nullptr);
}

void CPlayerOverlayDlg::StopStateTimer() {
    KillTimer(Hwnd(), TIMER_OVERLAY_HOVER);
}

void CPlayerOverlayDlg::MoveHidden(sPoint topLeft) {
    SetWindowPos(Hwnd(), nullptr, topLeft.x, topLeft.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

sRect CPlayerOverlayDlg::ScreenRect() const {
    RECT rc{};
    GetWindowRect(Hwnd(), &rc);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

void CPlayerOverlayDlg::KeepOnTop(bool raise) {
    const HWND hwnd = Hwnd();
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, GetWindowLongPtrA(hwnd, GWL_EXSTYLE) | WS_EX_TOPMOST);
    if (raise) {
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
}

void CPlayerOverlayDlg::CaptureMouse() {
    SetCapture(Hwnd());
}

void CPlayerOverlayDlg::ReleaseMouse() {
    ReleaseCapture();
}

bool CPlayerOverlayDlg::HasMouseCapture() const {
    return GetCapture() == Hwnd();
}

sPoint CPlayerOverlayDlg::CursorScreenPos() const {
    POINT pt{};
    GetCursorPos(&pt);
    return {pt.x, pt.y};
}

sPoint CPlayerOverlayDlg::ScreenToClient(sPoint screen) const {
    POINT pt{screen.x, screen.y};
    ::ScreenToClient(Hwnd(), &pt);
    return {pt.x, pt.y};
}

sRect CPlayerOverlayDlg::ClientRect() const {
    RECT rc{};
    GetClientRect(Hwnd(), &rc);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

bool CPlayerOverlayDlg::IsVisible() const {
    return IsWindowVisible(Hwnd()) != FALSE;
}

void CPlayerOverlayDlg::MoveTo(sPoint topLeft) {
    SetWindowPos(Hwnd(), nullptr, topLeft.x, topLeft.y, kOverlayWidth, kOverlayHeight, kQuietPos);
}

void CPlayerOverlayDlg::ResizeInPlace() {
    SetWindowPos(Hwnd(), nullptr, 0, 0, kOverlayWidth, kOverlayHeight, kQuietPos | SWP_NOMOVE);
}

INT_PTR CPlayerOverlayDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const sPoint client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return TRUE;
        case WM_ERASEBKGND:
            // The paint covers the whole client area with the panel.
            SetMsgResult(0);
            return TRUE;
        case WM_MOUSEACTIVATE:
            SetMsgResult(MA_NOACTIVATE);
            return TRUE;
        case WM_MOUSEMOVE: {
            POINT pt{client.x, client.y};
            ClientToScreen(Hwnd(), &pt);
            OnMouseMove({pt.x, pt.y});
            return TRUE;
        }
        case WM_LBUTTONDOWN:
            OnLeftButtonDown(client);
            return TRUE;
        case WM_LBUTTONUP: {
            POINT pt{client.x, client.y};
            ClientToScreen(Hwnd(), &pt);
            OnLeftButtonUp({pt.x, pt.y});
            return TRUE;
        }
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            // Right clicks are consumed so nothing (no context menu) reacts to them.
            return TRUE;
        case WM_TIMER:
            if (wParam == TIMER_OVERLAY_HOVER) {
                OnHoverTimer();
            }
            return TRUE;
        default:
            return CDialogBase::OnMessage(message, wParam, lParam);
    }
}

void CPlayerOverlayDlg::OnPaint() {
    PAINTSTRUCT ps{};
    const HDC hdc = BeginPaint(Hwnd(), &ps);
    if (hdc == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(Hwnd(), &client);
    PaintPanel(hdc, client);
    PaintText(hdc, client);
    EndPaint(Hwnd(), &ps);
    PublishShownText();
}

void CPlayerOverlayDlg::PublishShownText() {
    // The painted text becomes the window's text as well (the window has no caption to show
    // it), so accessibility tools and our window inspector can read what the user sees.
    const std::string& text = ShownText();
    if (text != m_strPublished) {
        m_strPublished = text;
        SetWindowTextA(Hwnd(), text.c_str());
    }
}

void CPlayerOverlayDlg::PaintPanel(HDC hdc, const RECT& client) {
    // Bitmap and memory context live for this paint only.
    const CScopedMemoryDC memory(CreateCompatibleDC(hdc));
    if (!memory) {
        return;
    }
    const int bitmapId =
        PanelForClientHeight(static_cast<int32_t>(client.bottom - client.top)) == ePanelBitmap::Tall
            ? IDB_PANEL_TALL
            : IDB_PANEL_SMALL;
    const CScopedBitmap bitmap(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId)));
    if (!bitmap) {
        ShowPaintProblem("LoadBitmap Failed!");
        return;
    }
    const CScopedSelection selected(memory.Get(), bitmap.Get());
    BITMAP info{};
    if (GetObjectA(bitmap.Get(), sizeof(info), &info) == sizeof(info)) {
        m_bmBackground = {info.bmWidth, info.bmHeight};
    } else {
        ShowPaintProblem("LoadBitmap size problem!");
    }
    BitBlt(hdc, 0, 0, m_bmBackground.cx, m_bmBackground.cy, memory.Get(), 0, 0, SRCCOPY);
}

void CPlayerOverlayDlg::PaintText(HDC hdc, const RECT& client) {
    const CScopedFont font(CreateOverlayFont());
    if (!font) {
        return;
    }
    const CScopedSelection selected(hdc, font.Get());
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, static_cast<COLORREF>(TextColour()));
    RECT textRect = ToRect(
        OverlayTextRect({static_cast<int32_t>(client.left), static_cast<int32_t>(client.top),
                         static_cast<int32_t>(client.right), static_cast<int32_t>(client.bottom)}));
    const std::string& text = ShownText();
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &textRect, kOverlayTextFormat);
}

void CPlayerOverlayDlg::ShowPaintProblem(const char* message) {
    const std::string title = ApplicationName();
    MessageBoxA(Hwnd(), message, title.c_str(), MB_OK);
}
