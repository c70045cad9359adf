#include "app/AutoSwitch.h"

#include <algorithm>

#include "app/DebugReport.h"
#include "app/TableList.h"

bool AutoSwitchScanAllowed(int32_t mainWindowTop, IWindowQueries& windows) {
    return mainWindowTop >= 1 && (IsPkrWindowForeground(windows) || IsOwnWindowForeground(windows));
}

int64_t ZoneSampleStep(const sRect& zone) {
    return std::max<int64_t>(zone.Height() / 10, 1);
}

sZoneCounts ScanZone(int zoneIndex, const sRect& zone, IScreen& screen, std::string* log) {
    const int width = screen.Width();
    const int64_t lastRow = int64_t{screen.Height()} - kBottomMargin;
    const int x = width - 2;
    const int64_t step = ZoneSampleStep(zone);
    sZoneCounts counts;
    for (int64_t y = zone.top; y < zone.bottom; y += step) {
        if (log != nullptr) {
            AppendSampleRow(*log, zoneIndex, y);
        }
        if (y > lastRow) {
            break;
        }
        const int row = static_cast<int>(y);
        const uint32_t colour = screen.Pixel(x, row);
        if (log != nullptr) {
            const uint32_t left = screen.Pixel(x - 1, row);
            const uint32_t right = screen.Pixel(x + 1, row);
            AppendSamplePixels(*log, left, colour, right);
        }
        if (IsWhiteSample(colour)) {
            ++counts.white;
        }
        if (IsGreySample(colour)) {
            ++counts.grey;
        }
    }
    if (log != nullptr) {
        AppendZoneEnd(*log, counts.white);
    }
    return counts;
}

int ScanHotZones(const HotZoneArray& zones, IScreen& screen, bool autoSwitchTicked,
                 std::string* log) {
    for (int z = 0; z < kHotZoneCount; ++z) {
        const sZoneCounts counts = ScanZone(z, zones[static_cast<size_t>(z)], screen, log);
        // The lowest qualifying zone wins; without "Auto Switch" every zone is scanned for the log.
        if (autoSwitchTicked && counts.Qualifies()) {
            return z;
        }
    }
    return -1;
}

void RunAutoSwitchScan(IScreen& screen, const HotZoneArray& zones, bool autoSwitchTicked,
                       const std::tm& localTime, CDebugReport& report, CTableList& tables) {
    std::string* log = nullptr;
    if (report.IsRequested()) {
        log = &report.StartScanLog(DebugReportHeader(localTime, screen.Width(), screen.Height(),
                                                     screen.ContextHandle(),
                                                     report.HistoryFolderLine()));
    }
    const int zone = ScanHotZones(zones, screen, autoSwitchTicked, log);
    if (zone >= 0) {
        tables.SwitchToZone(zone);
    }
}
