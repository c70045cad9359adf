#include "app/ImportCycle.h"

#include <cstdio>
#include <unordered_set>
#include <utility>

#include "history/FileImport.h"
#include "history/ImportState.h"
#include "history/StatsStore.h"
#include "overlay/Settings.h"
#include "platform/FileSystem.h"

namespace {

constexpr const char* kHistoryFilter = ".txt";

// Marks the cycle as running for exactly as long as ImportHistory runs.
class CRunningFlag {
public:
    explicit CRunningFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~CRunningFlag() { m_flag = false; }
    CRunningFlag(const CRunningFlag&) = delete;
    CRunningFlag& operator=(const CRunningFlag&) = delete;

private:
    bool& m_flag;
};

}  // namespace

std::string FirstRunMessage(int weeks, size_t fileCount) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "About to start scanning of hand history folder...\n\n"
                  "All hand history data newer than your chosen %d weeks\n"
                  "will be tracked and cached for fast startup.\n\n"
                  "You have %d tables of hand history in this period.",
                  weeks, static_cast<int>(fileCount));
    std::string message = text;
    if (fileCount > 1000) {
        message += "This may take a long time please be patient.";
    } else if (fileCount > 100) {
        message += "This may take a few minutes please be patient.";
    }
    return message;
}

void RequestFullReload(CStatsStore& store, int64_t now) {
    g_bFullImport = true;
    g_bCacheLoaded = false;
    store.ResetStatistics();
    g_timeHistoryCutoff = WeeksCutoff(now, g_settings.OldestStatsInWeeks);
}

CImportCycle::CImportCycle(IFileSystem& fs, CStatsStore& store, IProgressSink& progress,
                           IImportUi& ui, IImportClock& clock, RefreshTableListFn refreshTableList)
    : m_fs(fs),
      m_store(store),
      m_progress(progress),
      m_ui(ui),
      m_clock(clock),
      m_refreshTableList(std::move(refreshTableList)),
      m_scan(fs, store) {}

void CImportCycle::Scan(const std::string& historyFolder) {
    m_scan.ScanHistoryFolder(historyFolder, kHistoryFilter, g_timeHistoryCutoff, g_bFullImport,
                             &m_progress);
}

void CImportCycle::ReadFiles() {
    std::vector<sModifiedFileInfo> files = m_scan.m_aModifiedFiles;
    if (!m_aUnreadFiles.empty()) {
        // A file written again since has just been found with its new time; the others are
        // read as they are now, and dropped once they are gone.
        const std::unordered_set<std::string> found(m_scan.m_astrModifiedPaths.begin(),
                                                    m_scan.m_astrModifiedPaths.end());
        for (sModifiedFileInfo& file : m_aUnreadFiles) {
            if (found.contains(file.m_strPath)) {
                continue;
            }
            if (const auto written = m_fs.LastWriteTime(file.m_strPath)) {
                file.m_tModified = *written;
                files.push_back(std::move(file));
            }
        }
    }
    m_aUnreadFiles = ImportFoundFiles(m_store, files, &m_progress);
}

void CImportCycle::ImportHistory(const std::string& historyFolder) {
    const CRunningFlag running(m_bRunning);
    m_progress.SetRange(0, 20);
    m_progress.SetPos(1);
    int64_t cycleStart = m_clock.Now();

    // Without a cache the first import reads the chosen number of weeks back.
    const bool firstRun = g_bFullImport && !g_bCacheLoaded;
    if (firstRun) {
        g_timeHistoryCutoff = WeeksCutoff(m_clock.Now(), g_settings.OldestStatsInWeeks);
    }
    Scan(historyFolder);
    if (firstRun) {
        m_ui.ShowFirstRunMessage(
            FirstRunMessage(g_settings.OldestStatsInWeeks, m_scan.m_astrModifiedPaths.size()));
        m_clock.Sleep(kFirstRunPauseMs);
    }

    ReadFiles();

    if (g_bFullImport) {
        // The full import read everything; for the table list only the files written in its
        // last minutes count as tables being played. They are not parsed again.
        g_bFullImport = false;
        g_timeHistoryCutoff = m_clock.Now() - kRecentFileSeconds;
        cycleStart = m_clock.Now();
        Scan(historyFolder);
        m_ui.ClearTableList();
        m_ui.ShowInformationPanel();
    }

    if (m_refreshTableList) {
        m_refreshTableList(m_scan.m_aModifiedFiles);
    }
    m_progress.SetPos(0);
    // The next cycle looks only at files written since this one started.
    g_timeHistoryCutoff = cycleStart;
}
