// The mini-table hot zones: the rectangle the user marks over the top PKR mini-table view, kept
// per screen resolution in section "HotZone<W>x<H>" (values "L", "R", "T", "B"), and the four
// equal zones stacked below each other that the automatic switching scan samples.
//
// Usage from the main window (W, H = screen size in pixels, M = the main window's outer width):
//
//   OnInitDialog, after placing the window:
//       m_rcHotZone = LoadHotZones(store, W, H, M);
//
//   "Hot Zones" button:
//       KillTimer(hwnd, TIMER_IMPORT);
//       CTableHotZone dlg;
//       dlg.m_rcZone = ReadHotZoneForDialog(store, W, H, M);
//       if (dlg.DoModal() == IDOK)
//           m_rcHotZone = SaveHotZone(store, W, H, dlg.m_rcZone);
//       SetTimer(hwnd, TIMER_IMPORT, 7500, nullptr);   // after OK and after Cancel
//
//   CTableHotZone, on opening (after the default initialisation):
//       sHotZoneDialogPlacement p = PlaceHotZoneDialog(m_rcZone, W, H);
//       SetWindowPos(hwnd, nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_SHOWWINDOW);
//   on OK: GetWindowRect(hwnd) into m_rcZone (frame and caption included), end with IDOK;
//   on Cancel or Escape: end with IDCANCEL and leave m_rcZone alone.
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
[[nodiscard]] sHotZoneDialogPlacement PlaceHotZoneDialog(const sRect& zone, int screenWidth,
                                                         int screenHeight);

// OK in the hot zone dialog: writes L, R, T, B of `chosen` (in that order) for this resolution
// and returns the zones stacked from it.
[[nodiscard]] HotZoneArray SaveHotZone(ISettingsStore& store, int screenWidth, int screenHeight,
                                       const sRect& chosen);
