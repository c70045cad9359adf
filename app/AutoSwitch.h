// Automatic table switching: every TIMER_AUTOSWITCH tick, while the user works in the PKR client
// or in this program, the pixel column x = W - 2 is sampled inside each of the four mini-table
// zones; the first zone with more than five white or more than five grey samples selects the
// table list line of the same index.
//
// Usage from CPKR_HUDDlg (CWin32Windows implements IWindowQueries, CWin32Screen implements
// IScreen; see the comments on each):
//
//   case TIMER_AUTOSWITCH:
//       KillTimer(hwnd, TIMER_AUTOSWITCH);
//       CWin32Windows windows(hwnd);
//       if (AutoSwitchScanAllowed(m_rcMainWnd.top, windows)) {
//           CWin32Screen screen;                   // GetDC(nullptr) ... ReleaseDC
//           RunAutoSwitchScan(screen, m_rcHotZone,
//                             IsDlgButtonChecked(hwnd, 1021) == BST_CHECKED,
//                             LocalTimeNow(), m_debugReport, m_tables);
//       }
//       SetTimer(hwnd, TIMER_AUTOSWITCH, 200, nullptr);
//   then, after either timer's work:  CompleteDebugReport(m_debugReport, shell);
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "overlay/HotZones.h"
#include "platform/Geometry.h"

class CDebugReport;
class CTableList;

// The primary screen for one scan.
class IScreen {
public:
    virtual ~IScreen() = default;
    // GetSystemMetrics(SM_CXSCREEN) and (SM_CYSCREEN).
    [[nodiscard]] virtual int Width() = 0;
    [[nodiscard]] virtual int Height() = 0;
    // GetPixel(screenDc, x, y) as 0x00BBGGRR; a pixel that cannot be read is 0xFFFFFFFF
    // (CLR_INVALID, kUnreadablePixel), which the tests count as neither white nor grey.
    [[nodiscard]] virtual uint32_t Pixel(int x, int y) = 0;
    // The screen device context's handle value, for the troubleshooting log only.
    [[nodiscard]] virtual uint64_t ContextHandle() = 0;
};

// Window handles as numbers; 0 is no window.
using WindowId = uint64_t;

// The window manager questions of the foreground tests.
class IWindowQueries {
public:
    virtual ~IWindowQueries() = default;
    // GetForegroundWindow().
    [[nodiscard]] virtual WindowId ForegroundWindow() = 0;
    // FindWindowA(className, nullptr): the first top-level window of that class.
    [[nodiscard]] virtual WindowId FindTopLevelWindow(const char* className) = 0;
    // GetParent(window): the parent, or for a pop-up window its owner.
    [[nodiscard]] virtual WindowId ParentOrOwner(WindowId window) = 0;
    // This program's main window.
    [[nodiscard]] virtual WindowId MainWindow() = 0;
};

// The PKR client's main window class.
inline constexpr const char* kPkrWindowClass = "PKR";
// Samples in a zone that must pass a colour test before the zone is chosen: more than this.
inline constexpr int kQualifyingSamples = 5;
// Rows this close to the bottom of the screen are never sampled.
inline constexpr int kBottomMargin = 10;

// No foreground window, or the foreground window is the PKR client's main window.
[[nodiscard]] bool IsPkrWindowForeground(IWindowQueries& windows);
// No foreground window, or the foreground window is the main window or one whose parent (or
// owner) is the main window, such as a table settings window.
[[nodiscard]] bool IsOwnWindowForeground(IWindowQueries& windows);
// The scan runs only with the main window's top edge at y >= 1 (not minimised, not at the very
// top) and either foreground test true.
[[nodiscard]] bool AutoSwitchScanAllowed(int32_t mainWindowTop, IWindowQueries& windows);

// What the screen answers for a pixel it cannot read (a locked workstation, the secure
// desktop): no colour at all.
inline constexpr uint32_t kUnreadablePixel = 0xFFFFFFFFu;

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
