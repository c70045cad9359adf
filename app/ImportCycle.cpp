#include "app/ImportCycle.h"

#include <cstdio>
#include <unordered_set>
#include <utility>

#include "history/FileImport.h"
#include "history/StatsStore.h"
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

std::string FirstRunMessage(int weeks, size_t fileCount, const sHistoryFolder& folder) {
    std::string message = FirstRunMessage(weeks, fileCount);
    if (folder.m_state == eFolderState::NotFound) {
        message += "\n\nThe hand history folder ";
        message += folder.m_strPath;
        message += " was not found: choose another in Options, \"Hand history folder\".";
    }
    return message;
}

CImportCycle::CImportCycle(IFileSystem& fs, CStatsStore& store, IProgressSink& progress,
                           IImportUi& ui, IImportClock& clock, const sSettings& settings,
                           RefreshTableListFn refreshTableList)
    : m_fs(fs),
      m_store(store),
      m_progress(progress),
      m_ui(ui),
      m_clock(clock),
      m_settings(settings),
      m_refreshTableList(std::move(refreshTableList)),
      m_scan(fs, store) {}

void CImportCycle::UseLoadedCache(int64_t cacheFileTime) {
    m_state.cacheLoaded = true;
    if (cacheFileTime >= 0) {
        m_state.historyCutoff = cacheFileTime - kCacheOverlapSeconds;
    }
}

void CImportCycle::RequestFullReload(int64_t now) {
    m_state.fullImport = true;
    m_state.cacheLoaded = false;
    m_store.ResetStatistics();
    m_state.historyCutoff = WeeksCutoff(now, m_settings.OldestStatsInWeeks);
}

void CImportCycle::ContinueFrom(int64_t cutoff) {
    m_state.fullImport = false;
    m_state.historyCutoff = cutoff;
}

void CImportCycle::Scan(const std::string& historyFolder) {
    m_scan.ScanHistoryFolder(historyFolder, kHistoryFilter, m_state.historyCutoff,
                             m_state.fullImport, &m_progress);
}

void CImportCycle::ReadFiles() {
    std::vector<sModifiedFileInfo> files = m_scan.ModifiedFiles();
    if (!m_aUnreadFiles.empty()) {
        // A file written again since has just been found with its new time; the others are
        // read as they are now, and dropped once they are gone.
        const std::unordered_set<std::string> found(m_scan.ModifiedPaths().begin(),
                                                    m_scan.ModifiedPaths().end());
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
    m_aUnreadFiles = ImportFoundFiles(m_store, files, m_clock.Now(), &m_progress);
}

void CImportCycle::ImportHistory(const std::string& historyFolder) {
    ImportHistory(sHistoryFolder{historyFolder, eFolderState::Found});
}

void CImportCycle::ImportHistory(const sHistoryFolder& folder) {
    // No folder to look into: scanning nothing lists no files and keeps the found lists empty.
    const std::string historyFolder =
        folder.m_state == eFolderState::Found ? folder.m_strPath : std::string();
    const CRunningFlag running(m_bRunning);
    m_progress.SetRange(0, 20);
    m_progress.SetPos(1);
    int64_t cycleStart = m_clock.Now();

    // Without a cache the first import reads the chosen number of weeks back.
    const bool firstRun = m_state.fullImport && !m_state.cacheLoaded;
    if (firstRun) {
        m_state.historyCutoff = WeeksCutoff(m_clock.Now(), m_settings.OldestStatsInWeeks);
    }
    Scan(historyFolder);
    if (firstRun) {
        m_ui.ShowFirstRunMessage(
            FirstRunMessage(m_settings.OldestStatsInWeeks, m_scan.ModifiedPaths().size(), folder));
        m_clock.Sleep(kFirstRunPauseMs);
    }

    ReadFiles();

    if (m_state.fullImport) {
        // The full import read everything; for the table list only the files written in its
        // last minutes count as tables being played. They are not parsed again.
        m_state.fullImport = false;
        m_state.historyCutoff = m_clock.Now() - kRecentFileSeconds;
        cycleStart = m_clock.Now();
        Scan(historyFolder);
        m_ui.ClearTableList();
        m_ui.ShowInformationPanel();
    }

    if (m_refreshTableList) {
        m_refreshTableList(m_scan.ModifiedFiles());
    }
    m_progress.SetPos(0);
    // The next cycle looks only at files written since this one started.
    m_state.historyCutoff = cycleStart;
}
