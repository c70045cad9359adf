// The main window: owns the run-time state (tracked tables and their HUDs, the import cycle, the
// four mini-table zones) and drives everything with its two timers. It lives for the whole run;
// its destructor is the exit sequence (position, cache file, HUDs).
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/CacheAtStart.h"
#include "app/DebugReport.h"
#include "app/ImportCycle.h"
#include "app/TableList.h"
#include "overlay/HotZones.h"
#include "platform/win32/DialogBase.h"

class CStatsStore;
class ISettingsStore;
class CWin32MainWindowServices;

inline constexpr UINT_PTR TIMER_IMPORT = 1224;
inline constexpr UINT_PTR TIMER_AUTOSWITCH = 1225;
// A registered message the main window answers with the HUDs' refresh ticks so far (for the soak
// test, which sends it from another process).
inline constexpr const char* kRefreshTicksMessage = "Lanternquill.RefreshTicks";
// Answered with the number of tracked tables that have their HUD (for the soak test, whose
// warm-up lasts until every table it plays has one).
inline constexpr const char* kTableHudsMessage = "Lanternquill.TableHuds";

// Shows one of the texts of app/CacheNotices.h (UTF-8, as paths are) in a warning box owned by
// `owner` (none at start or exit). A quit request waiting in the thread's queue, as after the
// main window has closed, would end the box at once: it is held back until the box is answered.
void ShowCacheNotice(HWND owner, const std::string& text);

class CPKR_HUDDlg final : public CDialogBase,
                          private IImportUi,
                          private IProgressSink,
                          private ITableListHost {
public:
    CPKR_HUDDlg(ISettingsStore& store, CStatsStore& stats);
    ~CPKR_HUDDlg() override;
    CPKR_HUDDlg(const CPKR_HUDDlg&) = delete;
    CPKR_HUDDlg& operator=(const CPKR_HUDDlg&) = delete;

    // Enter and Escape pressed in the main window become a Shift key, which a dialog ignores:
    // neither may close the window or press one of its buttons. Other messages pass unchanged.
    void PreTranslateMessage(MSG& msg) const;
    // One message of the thread's queue, through the above and the dialog manager of the
    // window it is for.
    void DispatchThreadMessage(MSG& msg) const;

    // The PKR client's hand history folder, looked up in the client's registry entry and the
    // system's folders (LookUpHistoryPattern).
    [[nodiscard]] static std::string LookUpClientHistoryFolder();

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code, HWND control) override;
    // Enter and Escape never end the main window; only its close box does.
    void OnOK() override {}
    void OnCancel() override {}

private:
    BOOL OnPaint();
    INT_PTR OnQueryDragIcon();
    BOOL OnTimer(UINT_PTR id);
    BOOL OnClose();
    BOOL OnDestroy();
    // The top-level window of ours that `target` is or lies in: the main window or a window it
    // owns (a table settings window, an overlay); null for other windows and thread messages.
    [[nodiscard]] HWND OwnDialogFor(HWND target) const;

    void PlaceWindow();
    void ShowStartupLines();
    // Loads the cache file, tells the user what became of a file that could not be used, and
    // decides whether the exit may write it.
    void LoadCacheFile();
    void OnTimerImport();
    void OnTimerAutoSwitch();
    void FinishDebugReport();
    // The exit save, and the message that tells the player when it failed.
    void SaveStatsAtExit();

    void OnHotZones();
    void OnOptions();
    void OnInformation();
    void OnShrink();
    // The dialog buttons must wait for a running import; the list commands and check boxes not.
    [[nodiscard]] static bool OpensDialog(WORD id);

    // The folder the import reads now: the player's choice or the client's, checked afresh.
    [[nodiscard]] sHistoryFolder HistoryFolder() const;
    void RefreshMainWindowRect();
    void StartImportTimer(UINT periodMs);

    // The import cycle's window side.
    void ShowFirstRunMessage(const std::string& text) override;
    void ClearTableList() override;
    void ShowInformationPanel() override;
    void SetRange(int low, int high) override;
    void SetPos(int pos) override;
    // Lets the window repaint and react while a long import runs on this thread.
    void PumpMessages();
    // The table list's window side.
    bool IsAutoSwitchTicked() override;
    sRect MainWindowRect() override;

    ISettingsStore& m_store;
    CStatsStore& m_stats;
    std::unique_ptr<CWin32MainWindowServices> m_services;

    std::string m_strClientFolder;  // the PKR client's hand history folder
    // The tracked tables with their HUDs and list lines, the selection state, and the zone of
    // the last automatic switch; made when the window exists.
    std::unique_ptr<CTableList> m_tables;
    HotZoneArray m_rcHotZone{};  // the four mini-table zones, screen pixels
    RECT m_rcMainWnd{};          // refreshed at every timer message
    HICON m_hIcon = nullptr;
    CDebugReport m_debugReport;
    std::unique_ptr<CImportCycle> m_import;
    DWORD m_dwLastPump = 0;
    // The user closed the window while an import cycle was letting messages through: the window
    // closes when the cycle is done, so that the cycle never works on a destroyed window.
    bool m_bCloseAfterImport = false;
    // The warning about a cache folder the program may not write, found at start and shown once,
    // at the end of the first import cycle.
    std::optional<std::string> m_strStartupNotice;
    // What the start made of the cache file: whether the exit may save the store over it.
    sCacheAtStart m_cacheAtStart;
};
