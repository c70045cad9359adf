#include "overlay/PlayerOverlay.h"

namespace {

// The tall panel is meant for a window that still has its template height; 40 pixels is the
// largest client area the small panel (39 pixels) still covers.
constexpr int32_t kSmallPanelMaxClientHeight = 40;

constexpr sPoint Plus(sPoint a, sPoint b) noexcept {
    return {a.x + b.x, a.y + b.y};
}

constexpr bool Contains(const sRect& rc, sPoint pt) noexcept {
    return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

}  // namespace

ePanelBitmap PanelForClientHeight(int32_t clientHeight) noexcept {
    return clientHeight > kSmallPanelMaxClientHeight ? ePanelBitmap::Tall : ePanelBitmap::Small;
}

sRect OverlayTextRect(const sRect& client) noexcept {
    sRect text = client;
    text.top -= kOverlayTextStyle.raisePixels;
    text.bottom -= kOverlayTextStyle.raisePixels;
    return text;
}

bool CPlayerOverlay::SetText(int index, std::string_view text) {
    if (index < 0 || index >= kOverlayStateCount) {
        return false;
    }
    std::string& stored = m_strText[static_cast<size_t>(index)];
    if (stored == text) {
        return false;
    }
    stored.assign(text);
    return true;
}

const std::string& CPlayerOverlay::ShownText() const noexcept {
    return m_strText[static_cast<size_t>(m_nState)];
}

void CPlayerOverlay::OnLeftButtonDown(sPoint client) {
    CaptureMouse();
    m_ptDragOffset = {-client.x, -client.y};
    const sRect window = ScreenRect();
    m_ptPressTopLeft = {window.left, window.top};
}

void CPlayerOverlay::OnMouseMove(sPoint cursorScreen) {
    if (HasMouseCapture()) {
        // Dragging: the grabbed point stays under the cursor. The hover text gives way to the
        // main text; the window shows it at its next paint.
        if (m_nState == OVERLAY_HOVER) {
            m_nState = OVERLAY_NORMAL;
        } else if (m_nState == OVERLAY_HOVER_NAMES) {
            m_nState = OVERLAY_NAMES;
        }
        MoveTo(Plus(cursorScreen, m_ptDragOffset));
        return;
    }

    // Hovering: switch to the hover text and check again shortly whether the cursor has left.
    const eOverlayState before = m_nState;
    if (m_nState == OVERLAY_NORMAL) {
        m_nState = OVERLAY_HOVER;
    } else if (m_nState == OVERLAY_NAMES) {
        m_nState = OVERLAY_HOVER_NAMES;
    }
    ResizeInPlace();
    if (m_nState != before) {
        Repaint();
    }
    StartStateTimer(kOverlayHoverRecheckMs);
}

void CPlayerOverlay::OnLeftButtonUp(sPoint cursorScreen) {
    const sPoint topLeft = Plus(cursorScreen, m_ptDragOffset);
    ReleaseMouse();
    m_nState = OVERLAY_NORMAL;
    Repaint();
    MoveTo(topLeft);
    // Only a drag that ends elsewhere is a new layout: a click (or a drag back to where it
    // began) leaves the stored layout alone. A drag not yet saved stays noted.
    if (topLeft != m_ptPressTopLeft) {
        m_bMoved = true;
    }
}

void CPlayerOverlay::OnHoverTimer() {
    // Settles whatever state the mouse or a modifier key left: hover while the cursor is over
    // the overlay, normal otherwise (this also ends the stat-name states).
    const bool inside = Contains(ClientRect(), ScreenToClient(CursorScreenPos()));
    m_nState = inside ? OVERLAY_HOVER : OVERLAY_NORMAL;
    const bool visible = IsVisible();
    if (visible) {
        ResizeInPlace();
        Repaint();
    }
    // While the cursor rests inside, no movement message comes to re-arm the check, and a
    // pointer that then leaves in one move sends none to this window either: keep checking
    // until it has left.
    if (inside && visible) {
        StartStateTimer(kOverlayHoverRecheckMs);
    } else {
        StopStateTimer();
    }
}

void CPlayerOverlay::HoldHover() {
    if (m_nState != OVERLAY_HOVER) {
        m_nState = OVERLAY_HOVER;
        Repaint();
    }
    StartStateTimer(kOverlayKeyStateMs);
}

void CPlayerOverlay::HoldNames() {
    if (m_nState == OVERLAY_NORMAL || m_nState == OVERLAY_HOVER) {
        m_nState = m_nState == OVERLAY_NORMAL ? OVERLAY_NAMES : OVERLAY_HOVER_NAMES;
        Repaint();
    }
    StartStateTimer(kOverlayKeyStateMs);
}

void CPlayerOverlay::ResetToNormal() {
    StopStateTimer();
    m_nState = OVERLAY_NORMAL;
    Repaint();
}

bool CPlayerOverlay::TakeMoved() noexcept {
    const bool moved = m_bMoved;
    m_bMoved = false;
    return moved;
}

void HoldState(CPlayerOverlay& overlay, eOverlayState state) {
    overlay.ResetToNormal();
    if (state == OVERLAY_HOVER || state == OVERLAY_HOVER_NAMES) {
        overlay.HoldHover();
    }
    if (state == OVERLAY_NAMES || state == OVERLAY_HOVER_NAMES) {
        overlay.HoldNames();
    }
    overlay.StopStateTimer();
}
