#include "hud/RefreshLogic.h"

#include "history/GameTypes.h"
#include "platform/WindowQueries.h"

namespace {

constexpr std::array<std::string_view, 3> kSizeHeadings = {
    "  Stats: Headsup", "  Stats: 3-6 Handed", "  Stats: 7-10 Handed"};
constexpr std::array<std::string_view, 3> kGameTexts = {"Hold'em", "Omaha", "Unknown"};

template <size_t N>
std::string_view TextAt(const std::array<std::string_view, N>& texts, int index) {
    return index >= 0 && static_cast<size_t>(index) < N ? texts[static_cast<size_t>(index)]
                                                        : std::string_view{};
}

void HideAll(const std::array<CPlayerOverlay*, kSeatCount>& overlays) {
    for (CPlayerOverlay* overlay : overlays) {
        if (overlay != nullptr) {
            overlay->Hide();
        }
    }
}

}  // namespace

std::string StatsHeading(sBucketKey table) {
    std::string heading(TextAt(kSizeHeadings, table.sizeClass));
    heading += ' ';
    heading += TextAt(kGameTexts, table.game);
    heading += ' ';
    heading += TextAt(kStakeLabels, table.stake);
    return heading;
}

bool OverlaysSuppressed(IWindowQueries& windows) {
    return !IsPkrWindowForeground(windows) && !IsOwnWindowForeground(windows);
}

bool ApplyModifierKeys(IModifierKeys& keys,
                       const std::array<CPlayerOverlay*, kSeatCount>& overlays) {
    // CTRL: every overlay shows its hover text, as if the mouse were over all of them.
    if (keys.IsCtrlDown()) {
        for (CPlayerOverlay* overlay : overlays) {
            if (overlay == nullptr) {
                continue;
            }
            // Re-armed on every tick while held; after release the timer settles the state.
            overlay->HoldHover();
        }
    }
    // SHIFT: quick hide; the overlays come back in their normal state after release.
    bool shiftHeld = false;
    if (keys.IsShiftDown()) {
        shiftHeld = true;
        for (CPlayerOverlay* overlay : overlays) {
            if (overlay == nullptr) {
                continue;
            }
            overlay->ResetToNormal();
        }
    }
    // ALT: the names of the statistics in place of their values (on top of CTRL's hover).
    if (keys.IsAltDown()) {
        for (CPlayerOverlay* overlay : overlays) {
            if (overlay == nullptr) {
                continue;
            }
            overlay->HoldNames();
        }
    }
    return shiftHeld;
}

void RunOverlayRefresh(IRefreshHud& hud, const std::array<CPlayerOverlay*, kSeatCount>& overlays,
                       bool active, IWindowQueries& windows, IModifierKeys& keys) {
    const bool ownWindowInFront = IsOwnWindowForeground(windows);
    bool suppressed = !ownWindowInFront && !IsPkrWindowForeground(windows);
    if (active && !suppressed && ApplyModifierKeys(keys, overlays)) {
        suppressed = true;
    }

    // While the file cannot be read (the client is writing it), everything stays as it is,
    // except that the overlays of a table no longer chosen go at once: they must not stand
    // beside those of the table switched to.
    if (!hud.ReadSeats()) {
        if (!active) {
            HideAll(overlays);
        }
        return;
    }
    hud.SetHeading(StatsHeading(hud.Bucket()));

    if (!active || suppressed) {
        HideAll(overlays);
        return;
    }

    bool dragged = false;
    sSeatDisplay display;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        CPlayerOverlay* overlay = overlays[static_cast<size_t>(seat)];
        if (overlay == nullptr) {
            continue;
        }
        if (overlay->TakeMoved()) {
            dragged = true;
        }
        if (hud.IsSeatEmpty(seat)) {
            overlay->Hide();
            continue;
        }
        hud.ComposeSeat(seat, display);
        overlay->SetTextColour(display.colour);
        // All four are stored; a colour change alone does not repaint.
        bool changed = false;
        for (int variant = 0; variant < kOverlayStateCount; ++variant) {
            changed |= overlay->SetText(variant, display.texts[static_cast<size_t>(variant)]);
        }
        overlay->Show();
        if (changed) {
            overlay->Repaint();
        }
        // Other topmost windows (the client's own pop-ups) may have covered the overlay; while
        // one of this program's windows is in front the z-order is left alone.
        overlay->KeepOnTop(!ownWindowInFront);
    }

    if (dragged) {
        hud.SaveOverlayPositions();
    }
}
