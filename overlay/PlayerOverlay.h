// One seat's overlay, without the platform: the four text variants, the display state, the text
// colour, the drag, and how the overlay answers the mouse and its hover timer. The Win32 window
// (CPlayerOverlayDlg, overlay/PlayerOverlayDlg.h) derives from CPlayerOverlay and implements the
// window operations below; tests derive a fake.
//
// The display state belongs to the overlay: its own mouse and timer handlers move it, and the
// table HUD moves it only through the key methods below (HoldHover, HoldNames, ResetToNormal),
// which repaint when the state changes. A finished drag is reported once, through TakeMoved.
// The texts and the colour are the HUD's to set; the overlay only shows them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Geometry.h"

// Display states, each showing its own text variant (the index into the overlay's texts).
enum eOverlayState : int32_t {
    OVERLAY_NORMAL = 0,       // main statistics
    OVERLAY_HOVER = 1,        // hover statistics
    OVERLAY_NAMES = 2,        // main statistics with the stat names
    OVERLAY_HOVER_NAMES = 3,  // hover statistics with the stat names
};
inline constexpr int kOverlayStateCount = 4;

// The overlay's hover re-check timer; the HUD arms the same timer for the modifier keys.
inline constexpr unsigned TIMER_OVERLAY_HOVER = 498;
inline constexpr int kOverlayHoverRecheckMs = 175;  // after each mouse movement over the overlay
inline constexpr int kOverlayKeyStateMs = 300;      // while CTRL or ALT is held (set by the HUD)

// Every size the overlay gives itself; the panel bitmaps are drawn for it.
inline constexpr int32_t kOverlayWidth = 122;
inline constexpr int32_t kOverlayHeight = 39;

// Which panel bitmap fits a client area: the tall one only above 40 pixels (the window keeps
// its template height, which large system fonts make taller, until it first resizes itself).
enum class ePanelBitmap { Small, Tall };  // 122 x 39, 122 x 52
[[nodiscard]] ePanelBitmap PanelForClientHeight(int32_t clientHeight) noexcept;

// The text font and how the text is laid out in the client area.
struct sOverlayTextStyle {
    std::string_view face = "Microsoft Sans Serif";
    int32_t cellHeight = 13;  // pixels, character cell height; default width
    int32_t weight = 400;     // normal; not italic, underlined or struck out; ClearType quality
    // Centred horizontally, top-aligned, new lines only at line feeds (no word wrap), '&' drawn
    // as itself (player names may hold one), clipped to the rectangle, drawn over the panel with
    // a transparent background.
    int32_t raisePixels = 1;  // the text rectangle is the client area moved up by this much
};
inline constexpr sOverlayTextStyle kOverlayTextStyle{};

// The rectangle the text is drawn into: the client area moved up by one pixel.
[[nodiscard]] sRect OverlayTextRect(const sRect& client) noexcept;

class CPlayerOverlay {
public:
    virtual ~CPlayerOverlay() = default;

    // The state shown now.
    [[nodiscard]] eOverlayState State() const noexcept { return m_nState; }
    // CTRL held: the hover text, as if the mouse were over the overlay, until the state timer
    // (re-armed here) settles it after the key is released.
    void HoldHover();
    // ALT held: the names of the statistics in place of their values (normal -> names, hover ->
    // hover names), until the re-armed state timer settles it.
    void HoldNames();
    // SHIFT: the state timer stops and the normal text is shown again.
    void ResetToNormal();
    // Whether a drag has ended elsewhere since the last call; clears it.
    [[nodiscard]] bool TakeMoved() noexcept;
    // Whether a drag has ended elsewhere that TakeMoved has not reported yet; clears nothing.
    [[nodiscard]] bool IsMovePending() const noexcept { return m_bMoved; }

    // Stores `text` as variant `index` (0..3; others are ignored and report no change) and
    // reports whether it differs from what was there. Never repaints: the caller does.
    bool SetText(int index, std::string_view text);
    // The variant the current state shows.
    [[nodiscard]] const std::string& ShownText() const noexcept;
    // Every variant, indexed by display state.
    [[nodiscard]] const std::array<std::string, kOverlayStateCount>& Texts() const noexcept {
        return m_strText;
    }
    // The text colour, 0x00BBGGRR. Setting it never repaints: the caller decides.
    void SetTextColour(uint32_t colour) noexcept { m_crText = colour; }
    [[nodiscard]] uint32_t TextColour() const noexcept { return m_crText; }
    // -(client point of the last press): the grabbed point stays this far from the cursor.
    [[nodiscard]] sPoint DragOffset() const noexcept { return m_ptDragOffset; }

    // Window operations for the HUD.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void Repaint() = 0;                // invalidate the whole client area, no erase
    virtual void StartStateTimer(int ms) = 0;  // TIMER_OVERLAY_HOVER, replacing a running one
    virtual void StopStateTimer() = 0;
    virtual void MoveHidden(sPoint topLeft) = 0;         // no resize, z-order kept, not activated
    [[nodiscard]] virtual sRect ScreenRect() const = 0;  // the window rectangle on screen
    // Gives the window the topmost style again; with `raise` also puts it on top of the topmost
    // windows (not moved, not sized, shown, not activated).
    virtual void KeepOnTop(bool raise) = 0;

    // Mouse and timer events: the window forwards its messages here.
    void OnLeftButtonDown(sPoint client);      // press point in client coordinates
    void OnMouseMove(sPoint cursorScreen);     // drags while the mouse is captured, else hovers
    void OnLeftButtonUp(sPoint cursorScreen);  // ends a drag; a plain click moves nothing
    void OnHoverTimer();                       // TIMER_OVERLAY_HOVER fired

protected:
    // Window operations the event handlers need.
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    [[nodiscard]] virtual bool HasMouseCapture() const = 0;
    [[nodiscard]] virtual sPoint CursorScreenPos() const = 0;
    [[nodiscard]] virtual sPoint ScreenToClient(sPoint screen) const = 0;
    [[nodiscard]] virtual sRect ClientRect() const = 0;  // left/top 0
    [[nodiscard]] virtual bool IsVisible() const = 0;
    // Moves to `topLeft` with the overlay size, z-order kept, shown, not activated.
    virtual void MoveTo(sPoint topLeft) = 0;
    // Gives the window the overlay size where it is, z-order kept, shown, not activated.
    virtual void ResizeInPlace() = 0;

private:
    std::array<std::string, kOverlayStateCount> m_strText;  // one text per display state
    uint32_t m_crText = 0;
    eOverlayState m_nState = OVERLAY_NORMAL;
    sPoint m_ptDragOffset;
    sPoint m_ptPressTopLeft;  // where the window stood when the left button went down
    bool m_bMoved = false;    // a drag ended elsewhere and TakeMoved has not reported it yet
};

// Brings `overlay` into `state` the way the keys do (CTRL for the hover text, ALT for the names)
// and stops its state timer, so that the state holds until the mouse or a key moves it: a fixed
// view for showing an overlay outside a running HUD.
void HoldState(CPlayerOverlay& overlay, eOverlayState state);
