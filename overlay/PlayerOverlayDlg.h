// The overlay window over one seat (template 130): paints the panel bitmap and the text of its
// display state, follows the mouse (hover, drag) and never takes the activation away from the
// poker client. The state, texts and drag logic live in CPlayerOverlay (overlay/PlayerOverlay.h),
// which says how the table HUD drives an overlay. The object owns its window: it exists from a
// successful CreateOverlay until the object (or the owner window) is destroyed. Every call comes
// from the thread that created the window.
#pragma once

#include <windows.h>

#include "overlay/PlayerOverlay.h"
#include "platform/win32/DialogBase.h"

// How DrawText lays out an overlay's text: no DT_SINGLELINE / DT_WORDBREAK, so lines break at
// line feeds only; DT_NOPREFIX, so an '&' in a player's name draws as itself instead of
// underlining the next letter; no DT_NOCLIP, so lines past the client area are cut off.
inline constexpr UINT kOverlayTextFormat = DT_CENTER | DT_TOP | DT_NOPREFIX;

class CPlayerOverlayDlg final : public CDialogBase, public CPlayerOverlay {
public:
    CPlayerOverlayDlg();

    // Creates the hidden window owned by `owner` (the main window), topmost and never activated;
    // with `transparent` a layered window whose pure black pixels are see-through. False when the
    // window could not be created.
    bool CreateOverlay(HWND owner, bool transparent);

    // CPlayerOverlay's window operations for the HUD.
    void Show() override;
    void Hide() override;
    void Repaint() override;
    void StartStateTimer(int ms) override;
    void StopStateTimer() override;
    void MoveHidden(sPoint topLeft) override;
    [[nodiscard]] sRect ScreenRect() const override;
    void KeepOnTop(bool raise) override;

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Leaves the keyboard focus alone so that creating an overlay activates nothing.
    BOOL OnInitDialog() override { return FALSE; }

    void CaptureMouse() override;
    void ReleaseMouse() override;
    [[nodiscard]] bool HasMouseCapture() const override;
    [[nodiscard]] sPoint CursorScreenPos() const override;
    [[nodiscard]] sPoint ScreenToClient(sPoint screen) const override;
    [[nodiscard]] sRect ClientRect() const override;
    [[nodiscard]] bool IsVisible() const override;
    void MoveTo(sPoint topLeft) override;
    void ResizeInPlace() override;

private:
    void OnPaint();
    void PublishShownText();
    void PaintPanel(HDC hdc, const RECT& client);
    void PaintText(HDC hdc, const RECT& client);
    void ShowPaintProblem(const char* message);
    std::string m_strPublished;  // the text last given to the window as its own
    SIZE m_bmBackground{0, 0};   // size of the panel bitmap, read again at every paint
};
