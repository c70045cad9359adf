// Automatic table switching: every TIMER_AUTOSWITCH tick, while the user works in the PKR client
// or in this program, the pixel column x = W - 2 is sampled inside each of the four mini-table
// zones; the first zone with more than five white or more than five grey samples selects the
// table list line of the same index.
//
// The main window calls RunAutoSwitchScan on its timer tick only when AutoSwitchScanAllowed says
// so; the scan reads the screen once per sample and never holds on to it between ticks.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "overlay/HotZones.h"
#include "platform/Geometry.h"
#include "platform/Screen.h"
#include "platform/WindowQueries.h"

class CDebugReport;
class CTableList;

// Samples in a zone that must pass a colour test before the zone is chosen: more than this.
inline constexpr int kQualifyingSamples = 5;
// Rows this close to the bottom of the screen are never sampled.
inline constexpr int kBottomMargin = 10;

// The scan runs only with the main window's top edge at y >= 1 (not minimised, not at the very
// top) and either foreground test true.
[[nodiscard]] bool AutoSwitchScanAllowed(int32_t mainWindowTop, IWindowQueries& windows);

// The colour tests on a sampled pixel 0x00BBGGRR (the top byte is ignored). An unreadable pixel
// is neither white nor grey: counting it would make zone 0 qualify whenever the screen cannot be
// read, and the selection jump to line 0.
[[nodiscard]] constexpr bool IsWhiteSample(uint32_t colour) {
    return colour != kUnreadablePixel && (colour & 0xFFFFFFu) == 0xFFFFFFu;
}
[[nodiscard]] constexpr bool IsGreySample(uint32_t colour) {
    return colour != kUnreadablePixel && (colour & 0x3E3E3Eu) == 0x3E3E3Eu;
}

// Rows between samples in a zone: a tenth of its height, but at least 1 so that a zone less
// than 10 pixels tall is still scanned to its end.
[[nodiscard]] int64_t ZoneSampleStep(const sRect& zone);

struct sZoneCounts {
    int white = 0;
    int grey = 0;
    [[nodiscard]] bool Qualifies() const {
        return white > kQualifyingSamples || grey > kQualifyingSamples;
    }
};

// Samples zone `zoneIndex` at x = W - 2 from its top edge down, stopping before its bottom edge
// or at the first row below H - 10. With `log`, appends the zone's lines of the troubleshooting
// log (reading the neighbouring pixels W - 3 and W - 1 too).
[[nodiscard]] sZoneCounts ScanZone(int zoneIndex, const sRect& zone, IScreen& screen,
                                   std::string* log);

// Scans the zones in order. With `autoSwitchTicked`, returns the first qualifying zone and scans
// no further; otherwise scans all four (for the log) and returns -1. -1 also when none qualifies.
[[nodiscard]] int ScanHotZones(const HotZoneArray& zones, IScreen& screen, bool autoSwitchTicked,
                               std::string* log);

// One tick's scan (when AutoSwitchScanAllowed): starts the troubleshooting log when one is
// requested, scans the zones and lets the table list switch to the chosen zone.
void RunAutoSwitchScan(IScreen& screen, const HotZoneArray& zones, bool autoSwitchTicked,
                       const std::tm& localTime, CDebugReport& report, CTableList& tables);
