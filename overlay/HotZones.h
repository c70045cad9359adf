// The mini-table hot zones: the rectangle the user marks over the top PKR mini-table view, kept
// per screen resolution in section "HotZone<W>x<H>" (values "L", "R", "T", "B"), and the four
// equal zones stacked below each other that the automatic switching scan samples.
//
// The zones are read once when the main window opens and again only after the "Hot Zones" dialog
// is confirmed; the dialog starts from the stored rectangle (or the default one) and a cancelled
// dialog leaves the stored zone alone. Every size is in screen pixels of the screen the rectangle
// was marked on: W, H are the screen's size, M the main window's outer width.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "overlay/SettingsStore.h"
#include "platform/Geometry.h"

inline constexpr int kHotZoneCount = 4;
using HotZoneArray = std::array<sRect, kHotZoneCount>;

// "HotZone%dx%d" with the screen width and height, e.g. "HotZone1024x768".
[[nodiscard]] std::string HotZoneSection(int screenWidth, int screenHeight);

// Zone 0 is `zone0`; zone k (1..3) is zone 0 moved down by k times its height. Coordinates that
// would leave the 32-bit range (only possible with absurd stored values) stop at its limits.
[[nodiscard]] HotZoneArray StackHotZones(const sRect& zone0);

// The start-up load: reads the stored rectangle for this resolution with the defaults
// L = W - M, R = W, T = 30, B = H / 6 + 44; when L > W or T > H all four take their defaults;
// then writes L, R, T, B back (always, in that order) and returns the stacked zones.
[[nodiscard]] HotZoneArray LoadHotZones(ISettingsStore& store, int screenWidth, int screenHeight,
                                        int mainWindowWidth);

// The rectangle the hot zone dialog opens with: the stored values with the defaults
// L = W - M, R = W, T = 32, B = H / 6 + 32 (they matter only when the resolution changed after
// start-up). Nothing is validated or written.
[[nodiscard]] sRect ReadHotZoneForDialog(ISettingsStore& store, int screenWidth, int screenHeight,
                                         int mainWindowWidth);

// Where the dialog window goes: the zone's size, moved left/up so that it ends at the right or
// bottom screen edge when it reaches past it, and never at a negative x or y.
struct sHotZoneDialogPlacement {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    friend constexpr bool operator==(const sHotZoneDialogPlacement&,
                                     const sHotZoneDialogPlacement&) = default;
};
[[nodiscard]] sHotZoneDialogPlacement PlaceHotZoneDialog(const sRect& zone, sSize screen);

// OK in the hot zone dialog: writes L, R, T, B of `chosen` (in that order) for this resolution
// and returns the zones stacked from it.
[[nodiscard]] HotZoneArray SaveHotZone(ISettingsStore& store, int screenWidth, int screenHeight,
                                       const sRect& chosen);
