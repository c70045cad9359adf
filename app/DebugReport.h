// The troubleshooting log "DebugReport.txt". One log is built per request: Request() empties the
// buffer, the next automatic switching scan (RunAutoSwitchScan in AutoSwitch.h) replaces it with
// the header and one block per hot zone, and CompleteDebugReport, run after every timer
// message's own work, writes whatever the buffer then holds exactly once. A timer message that
// comes before any scan therefore writes the log without zone blocks. Everything here runs on
// the main window's thread; nothing is shared with other threads.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>

class IShellOpener;

inline constexpr const char* kDebugReportFile = "DebugReport.txt";

class CDebugReport {
public:
    // Asks for a log that names the hand history folder as `historyFolderLine` says: the next
    // timer message writes whatever the buffer then holds.
    void Request(std::string historyFolderLine) {
        m_bWriteDebugReport = true;
        m_strHistoryFolderLine = std::move(historyFolderLine);
        m_strDebugReport.clear();
    }
    // The folder line of the last request, for the log's header.
    [[nodiscard]] const std::string& HistoryFolderLine() const noexcept {
        return m_strHistoryFolderLine;
    }
    [[nodiscard]] bool IsRequested() const noexcept { return m_bWriteDebugReport; }
    // A scan while a log is requested: the buffer starts over with `header`, and the scan writes
    // its lines into the buffer returned.
    std::string& StartScanLog(std::string header) {
        m_strDebugReport = std::move(header);
        return m_strDebugReport;
    }
    // The timer message that writes the log: whether one was requested; the request ends here.
    [[nodiscard]] bool TakeRequest() noexcept { return std::exchange(m_bWriteDebugReport, false); }
    // The log as it stands.
    [[nodiscard]] const std::string& Text() const noexcept { return m_strDebugReport; }

private:
    bool m_bWriteDebugReport = false;
    std::string m_strHistoryFolderLine;
    std::string m_strDebugReport;
};

// The log's opening lines, up to and including "Autoswitch scan\n": the version, the date, the
// screen, then `historyFolderLine` (HistoryFolderLine of the folder in use) in a block of its own.
[[nodiscard]] std::string DebugReportHeader(const std::tm& localTime, int screenWidth,
                                            int screenHeight, uint64_t screenContext,
                                            std::string_view historyFolderLine);
// The lines of one zone's scan (AutoSwitch.cpp writes them through these).
void AppendSampleRow(std::string& log, int zoneIndex, int64_t y);
void AppendSamplePixels(std::string& log, uint32_t left, uint32_t centre, uint32_t right);
void AppendZoneEnd(std::string& log, int whiteCount);

// The current local time, for the log's date line.
[[nodiscard]] std::tm LocalTimeNow();

// After a timer message's own work: when a log was requested, clears the request, writes the
// buffer to `path` in text mode (so "\n" becomes the platform's line end), replacing an earlier
// file, and asks the shell to open it in a normal window. A file that cannot be created drops
// the log without opening anything. Returns whether a file was written.
bool CompleteDebugReport(CDebugReport& report, IShellOpener& shell,
                         const std::string& path = kDebugReportFile);
