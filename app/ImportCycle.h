// The import cycle the main window runs on every TIMER_IMPORT tick: scan the hand history folder,
// parse what is new, after a full import rescan the last 180 seconds and show the information
// panel, then merge the found files into the table list.
//
// The cycle owns its state between ticks: whether the next cycle is a full import, whether the
// statistics came from the cache file, and the time before which files are not looked at. The
// main window builds it once, tells it about a loaded cache before the first tick, and runs
// ImportHistory on every tick with the folder in use (not the "\*.*" pattern).
//
// Keeping the window alive during a long import: there are no worker threads, so the cycle calls
// the progress sink after every file scanned and every file parsed. The Win32 sink sets the
// progress bar (control 1002) and is the place to pump pending window messages (PeekMessage /
// DispatchMessage, e.g. at most every 50 ms) so the bar visibly moves and the window repaints.
// While pumping, the import timer is stopped, so a cycle cannot start inside itself; commands
// that would start another cycle or empty the store (Options) should check IsRunning() first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/HistoryFolder.h"
#include "history/FolderScan.h"
#include "history/ImportState.h"
#include "history/Progress.h"
#include "overlay/Settings.h"
#include "platform/Clock.h"

class CStatsStore;
class IFileSystem;

// What the cycle shows on the main window besides the progress bar. Every call returns only when
// the user is done with what it showed.
class IImportUi {
public:
    virtual ~IImportUi() = default;
    // Message box owned by the main window: `text` (FirstRunMessage), caption
    // kImportMessageCaption, an OK button and the information icon.
    virtual void ShowFirstRunMessage(const std::string& text) = 0;
    // Removes every line of the table list box (control 1005).
    virtual void ClearTableList() = 0;
    // The information panel as a modal dialog.
    virtual void ShowInformationPanel() = 0;
};

inline constexpr const char* kImportMessageCaption = "Lanternquill History Importer";
// Files found by a full import count as recent for the table list when written this close to
// its end.
inline constexpr int64_t kRecentFileSeconds = 180;
inline constexpr int kFirstRunPauseMs = 200;

// The message shown before the first import without a cache: the chosen weeks, the number of
// files about to be read, and a patience sentence for more than 100 or more than 1000 files.
[[nodiscard]] std::string FirstRunMessage(int weeks, size_t fileCount);
// The same message for the folder `folder`: when it was not found, one more paragraph names it and
// says where another is chosen.
[[nodiscard]] std::string FirstRunMessage(int weeks, size_t fileCount,
                                          const sHistoryFolder& folder);

// The oldest time a full import reads: `weeks` weeks before `now`.
[[nodiscard]] constexpr int64_t WeeksCutoff(int64_t now, int weeks) {
    return now - static_cast<int64_t>(weeks) * 7 * 86400;
}

// Files written this long before the cache file was saved may hold hands it lacks: a cycle
// after a loaded cache looks at them again.
inline constexpr int64_t kCacheOverlapSeconds = 900;

// What one cycle leaves for the next.
struct sImportState {
    bool fullImport = true;    // the next cycle is a full import
    bool cacheLoaded = false;  // the statistics came from the cache file at start-up
    // Files last written before this are not looked at; before anything else sets it, 1 July
    // 2000 (InitialHistoryCutoff).
    int64_t historyCutoff = InitialHistoryCutoff();
};

class CImportCycle {
public:
    // Receives the files found by the cycle (in the order found) to merge into the table list.
    using RefreshTableListFn = std::function<void(const std::vector<sModifiedFileInfo>&)>;

    // `settings` (OldestStatsInWeeks) is read at every cycle, so a changed setting counts from
    // the next one; it outlives the cycle.
    CImportCycle(IFileSystem& fs, CStatsStore& store, IProgressSink& progress, IImportUi& ui,
                 IImportClock& clock, const sSettings& settings,
                 RefreshTableListFn refreshTableList);

    // The statistics were loaded from the cache file, saved at `cacheFileTime` (negative when
    // that time cannot be read): the first cycle shows no message and looks only at files
    // written from kCacheOverlapSeconds before that time (or, without a time, from the initial
    // cut-off).
    void UseLoadedCache(int64_t cacheFileTime);
    // The "reload everything" request of the Options command: empties the store; the next
    // cycle is a full import without a cache, reading OldestStatsInWeeks weeks back from `now`.
    void RequestFullReload(int64_t now);
    // Makes the next cycle a later one that looks only at files written since `cutoff`, as if
    // a cycle had begun then.
    void ContinueFrom(int64_t cutoff);

    [[nodiscard]] const sImportState& State() const noexcept { return m_state; }

    // One whole cycle over the hand history folder `historyFolder`.
    void ImportHistory(const std::string& historyFolder);
    // The same over the folder in use; a folder not found is not looked into (a name cut short
    // for showing is never handed to the system), so the cycle finds no files.
    void ImportHistory(const sHistoryFolder& folder);

    // True while ImportHistory runs (for handlers reached through the progress sink's pumping
    // or the cycle's modal windows).
    [[nodiscard]] bool IsRunning() const noexcept { return m_bRunning; }

    // The files found by the last scan: between cycles, every file written since the previous
    // cycle began (after a full import: in its last 180 seconds).
    [[nodiscard]] const std::vector<sModifiedFileInfo>& ModifiedFiles() const noexcept {
        return m_scan.ModifiedFiles();
    }
    [[nodiscard]] const std::vector<std::string>& ModifiedPaths() const noexcept {
        return m_scan.ModifiedPaths();
    }

    // Files the last cycle could not read (held open by another program): each later cycle
    // reads them again, whether or not they were written since, until they can be read.
    [[nodiscard]] const std::vector<sModifiedFileInfo>& UnreadFiles() const noexcept {
        return m_aUnreadFiles;
    }

private:
    void Scan(const std::string& historyFolder);
    // Reads the files the scan found and those left unread by earlier cycles.
    void ReadFiles();

    IFileSystem& m_fs;
    CStatsStore& m_store;
    IProgressSink& m_progress;
    IImportUi& m_ui;
    IImportClock& m_clock;
    const sSettings& m_settings;
    RefreshTableListFn m_refreshTableList;
    sImportState m_state;
    CHistoryScan m_scan;
    std::vector<sModifiedFileInfo> m_aUnreadFiles;
    bool m_bRunning = false;
};
