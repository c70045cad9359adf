// The overlay refresh cycle of one table HUD (timer 232, every 150 ms): whether its overlays may
// be seen, the CTRL / SHIFT / ALT keys, the seat reading, the heading of the table settings
// window, the texts handed to the ten overlays, keeping them on top, and saving the layout after
// a drag. The window side only answers the small interfaces below.
//
// The refresh writes only through IRefreshHud and the overlays' own methods; it keeps no state
// between ticks, so a tick that finds no file or no overlay leaves nothing half done. The
// foreground questions are the platform's (platform/WindowQueries.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "history/GameTypes.h"
#include "hud/Layouts.h"
#include "overlay/PlayerOverlay.h"

class IWindowQueries;

// The HUD's refresh timer (the overlays' own state timer is in overlay/PlayerOverlay.h).
inline constexpr unsigned kRefreshTimerId = 232;
inline constexpr unsigned kRefreshPeriodMs = 150;

// The four texts of one seat's overlay (indexed by display state) and its text colour.
struct sSeatDisplay {
    std::array<std::string, 4> texts;
    uint32_t colour = 0;  // 0x00BBGGRR
};

// CTRL, SHIFT and ALT, each read when the cycle asks.
class IModifierKeys {
public:
    virtual ~IModifierKeys() = default;
    [[nodiscard]] virtual bool IsCtrlDown() = 0;
    [[nodiscard]] virtual bool IsShiftDown() = 0;
    [[nodiscard]] virtual bool IsAltDown() = 0;
};

// The HUD itself, as the cycle uses it.
class IRefreshHud {
public:
    virtual ~IRefreshHud() = default;
    // The seat reader on the table's file; false leaves everything as it was.
    virtual bool ReadSeats() = 0;
    // The table's bucket as the last successful ReadSeats found it (sSeatState::Bucket).
    [[nodiscard]] virtual sBucketKey Bucket() const = 0;
    // Control 1014 of the table settings window.
    virtual void SetHeading(const std::string& text) = 0;
    // The seat's m_strSeatName is empty (seat index 0..9).
    [[nodiscard]] virtual bool IsSeatEmpty(int seat) const = 0;
    // ComposeSeatText of a seated seat (index 0..9); also keeps variant 0 as m_strMain.
    virtual void ComposeSeat(int seat, sSeatDisplay& out) = 0;
    // Stores the positions of the current layout's seats.
    virtual void SaveOverlayPositions() = 0;
};

// "%s %s %s" of the size-class heading ("  Stats: Headsup", "  Stats: 3-6 Handed",
// "  Stats: 7-10 Handed"), the game ("Hold'em", "Omaha", "Unknown") and the stake label.
// Values out of range give an empty part rather than reading past a table.
[[nodiscard]] std::string StatsHeading(sBucketKey table);

// Overlays may be seen only while the PKR client or one of this program's windows is in front
// (or nothing is).
[[nodiscard]] bool OverlaysSuppressed(IWindowQueries& windows);

// The modifier keys' effect on the overlays' states; true when SHIFT is held (the overlays count
// as suppressed for this tick). Null overlays are skipped.
bool ApplyModifierKeys(IModifierKeys& keys,
                       const std::array<CPlayerOverlay*, kSeatCount>& overlays);

// One tick of the cycle. `active` is the HUD's m_bActive.
void RunOverlayRefresh(IRefreshHud& hud, const std::array<CPlayerOverlay*, kSeatCount>& overlays,
                       bool active, IWindowQueries& windows, IModifierKeys& keys);
