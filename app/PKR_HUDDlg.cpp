#include "app/PKR_HUDDlg.h"

#include <commctrl.h>

#include <cstdint>
#include <system_error>
#include <utility>

#include "app/AutoSwitch.h"
#include "app/CacheAtStart.h"
#include "app/CacheNotices.h"
#include "app/HistoryFolder.h"
#include "app/MainWindowCommands.h"
#include "app/StartupLogic.h"
#include "history/CacheLock.h"
#include "history/StatsCache.h"
#include "history/StatsStore.h"
#include "hud/TableHudDlg.h"
#include "overlay/AboutDlg.h"
#include "overlay/HotZoneDlg.h"
#include "overlay/OptionsDlg.h"
#include "overlay/Settings.h"
#include "overlay/SettingsStore.h"
#include "platform/FileSystem.h"
#include "platform/FolderProbe.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32ListBox.h"
#include "platform/win32/Win32RegistryReader.h"
#include "platform/win32/Win32Screen.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemFolders.h"
#include "resources/resource.h"

namespace {

constexpr UINT kFirstImportMs = 5000;
constexpr UINT kImportPeriodMs = 7500;
constexpr UINT kAutoSwitchPeriodMs = 200;
// How often a long import lets the window handle its messages.
constexpr DWORD kPumpIntervalMs = 30;

sRect ToRect(const RECT& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

int ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

int64_t FileModificationTime(const char* fileName) {
    return CStdFileSystem().LastWriteTime(fileName).value_or(-1);
}

}  // namespace

// The Win32 services the portable logic of the main window talks to.
class CWin32MainWindowServices {
public:
    CWin32MainWindowServices(HWND mainWindow, ISettingsStore& store, const CStatsStore& stats)
        : m_listBox(GetDlgItem(mainWindow, IDC_TABLES)), m_hudFactory(mainWindow, store, stats) {}

    CWin32Clock m_clock;
    CStdFileSystem m_fileSystem;
    CWin32ListBox m_listBox;
    CTableHudFactory m_hudFactory;
};

std::string CPKR_HUDDlg::LookUpClientHistoryFolder() {
    CWin32RegistryReader registry;
    CWin32SystemFolders folders;
    return HistoryFolderFromPattern(LookUpHistoryPattern(registry, folders));
}

CPKR_HUDDlg::CPKR_HUDDlg(ISettingsStore& store, CStatsStore& stats)
    : CDialogBase(IDD_PKR_HUD_DIALOG),
      m_store(store),
      m_stats(stats),
      m_strClientFolder(LookUpClientHistoryFolder()) {
    m_hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

CPKR_HUDDlg::~CPKR_HUDDlg() {
    // The exit sequence: the position only when the window was fully on the screen's positive
    // side, then the statistics, then the HUDs.
    SaveMainWindowPosition(m_store, ToRect(m_rcMainWnd));
    if (SaveCacheAtExit(m_cacheAtStart, m_stats)) {
        SaveStatsAtExit();
    }
    if (m_tables) {
        m_tables->DestroyAllTables();
    }
}

INT_PTR CPKR_HUDDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    static const UINT refreshTicksMessage = RegisterWindowMessageA(kRefreshTicksMessage);
    if (message == refreshTicksMessage && refreshTicksMessage != 0) {
        SetMsgResult(static_cast<LRESULT>(HudRefreshTicks()));
        return TRUE;
    }
    static const UINT tableHudsMessage = RegisterWindowMessageA(kTableHudsMessage);
    if (message == tableHudsMessage && tableHudsMessage != 0) {
        SetMsgResult(static_cast<LRESULT>(m_tables ? m_tables->TablesWithHud() : 0));
        return TRUE;
    }
    switch (message) {
        case WM_PAINT:
            return OnPaint();
        case WM_QUERYDRAGICON:
            return OnQueryDragIcon();
        case WM_TIMER:
            return OnTimer(wParam);
        case WM_CLOSE:
            return OnClose();
        case WM_DESTROY:
            return OnDestroy();
        default:
            return CDialogBase::OnMessage(message, wParam, lParam);
    }
}

BOOL CPKR_HUDDlg::OnInitDialog() {
    ReadAllSettings(m_store, g_settings);
    const BOOL result = CDialogBase::OnInitDialog();
    m_services = std::make_unique<CWin32MainWindowServices>(Hwnd(), m_store, m_stats);
    // The window is the host, progress bar and user interface of the logic (private bases, so
    // the references are taken here).
    ITableListHost& host = *this;
    IProgressSink& progress = *this;
    IImportUi& ui = *this;
    m_tables = std::make_unique<CTableList>(m_services->m_listBox, m_services->m_hudFactory, host);
    m_import = std::make_unique<CImportCycle>(
        m_services->m_fileSystem, m_stats, progress, ui, m_services->m_clock, g_settings,
        [this](const std::vector<sModifiedFileInfo>& files) { m_tables->RefreshTableList(files); });

    CWin32Shell shell(Hwnd());
    UpgradeSettings(m_store, shell);

    SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    PlaceWindow();
    ShowStartupLines();

    // The zones' defaults depend on the window's width, so they follow the placement.
    m_rcHotZone = LoadHotZones(m_store, ScreenWidth(), ScreenHeight(),
                               static_cast<int>(MainWindowRect().Width()));

    LoadCacheFile();
    // Found now, told once the first cycle has shown what it shows.
    const std::string cacheFolder = CacheFolderOf(AbsoluteCachePath(kCacheFileName));
    m_strStartupNotice = UnwritableFolderText(cacheFolder, ProbeFolderWritable(cacheFolder));

    SetTimer(Hwnd(), TIMER_IMPORT, kFirstImportMs, nullptr);
    SetTimer(Hwnd(), TIMER_AUTOSWITCH, kAutoSwitchPeriodMs, nullptr);
    return result;
}

void CPKR_HUDDlg::LoadCacheFile() {
    // The full name, so that the user is told where the file is.
    const std::string fileName = AbsoluteCachePath(kCacheFileName);
    const sCacheLoadOutcome outcome = LoadStatsCacheFile(m_stats, fileName);
    if (outcome.result == eCacheLoad::Loaded) {
        m_import->UseLoadedCache(FileModificationTime(kCacheFileName));
    }
    m_cacheAtStart = CacheAtStart(outcome, fileName, m_stats.Revision());
    if (!m_cacheAtStart.message.empty()) {
        ShowCacheNotice(Hwnd(), m_cacheAtStart.message);
    }
}

void CPKR_HUDDlg::PlaceWindow() {
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    m_rcMainWnd = window;
    const sPoint pos = MainWindowPosition(m_store, {ScreenWidth(), ScreenHeight()},
                                          {window.right - window.left, window.bottom - window.top});
    const bool topmost = g_settings.MainWindowAlwaysOnTop;
    SetWindowPos(Hwnd(), topmost ? HWND_TOPMOST : nullptr, pos.x, pos.y, 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW | (topmost ? 0U : SWP_NOZORDER));
}

void CPKR_HUDDlg::ShowStartupLines() {
    // Until the first import cycle lists the tables.
    ClearTableList();
    IListBox& list = m_services->m_listBox;
    list.AddString("");
    list.AddString("Reading History...");
    list.SetCurSel(-1);
}

bool CPKR_HUDDlg::OpensDialog(WORD id) {
    return id == IDC_HOTZONES || id == IDC_OPTIONS || id == IDC_INFORMATION;
}

BOOL CPKR_HUDDlg::OnCommand(WORD id, WORD code, HWND control) {
    if (m_import->IsRunning() && OpensDialog(id)) {
        // A click that arrives while a long import lets the window breathe: the dialogs these
        // buttons open would start another import or empty the store under the running one.
        // The other controls only touch the list and the HUDs, which the import fills at its
        // end, and a check box whose click were dropped would show a state nothing follows.
        return TRUE;
    }
    switch (id) {
        case IDC_TABLES:
            if (code == LBN_SELCHANGE) {
                m_tables->OnSelChangeTables();
            }
            return TRUE;
        case IDC_REMOVE_TABLE:
            m_tables->RemoveSelectedTable();
            return TRUE;
        case IDC_MOVE_UP:
            m_tables->MoveTableUp();
            return TRUE;
        case IDC_MOVE_DOWN:
            m_tables->MoveTableDown();
            return TRUE;
        case IDC_TABLE_SETTINGS:
            m_tables->ToggleTableSettings();
            return TRUE;
        case IDC_HOTZONES:
            OnHotZones();
            return TRUE;
        case IDC_INFORMATION:
            OnInformation();
            return TRUE;
        case IDC_MULTITABLE:
            m_tables->SetMultiTable(IsChecked(IDC_MULTITABLE));
            return TRUE;
        case IDC_SHRINK:
            OnShrink();
            return TRUE;
        case IDC_AUTOSWITCH:
            m_tables->ForgetAutoZone();
            return TRUE;
        case IDC_HIDE:
            m_tables->SetHideHuds(IsChecked(IDC_HIDE));
            return TRUE;
        case IDC_OPTIONS:
            OnOptions();
            return TRUE;
        default:
            return CDialogBase::OnCommand(id, code, control);
    }
}

BOOL CPKR_HUDDlg::OnPaint() {
    if (IsIconic(Hwnd()) == FALSE) {
        return FALSE;  // the dialog's own painting
    }
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(Hwnd(), &paint);
    SendMessageA(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    DrawIcon(dc, (client.right - client.left - iconWidth + 1) / 2,
             (client.bottom - client.top - iconHeight + 1) / 2, m_hIcon);
    EndPaint(Hwnd(), &paint);
    return TRUE;
}

INT_PTR CPKR_HUDDlg::OnQueryDragIcon() {
    // One of the few messages whose answer is the dialog procedure's own return value rather
    // than DWLP_MSGRESULT.
    return reinterpret_cast<INT_PTR>(m_hIcon);
}

BOOL CPKR_HUDDlg::OnClose() {
    // The close box and the system menu's Close are the only ways to end the program.
    if (m_import->IsRunning()) {
        m_bCloseAfterImport = true;
    } else {
        EndDialog(IDCANCEL);
    }
    return TRUE;
}

void CPKR_HUDDlg::PreTranslateMessage(MSG& msg) const {
    const bool enterOrEscape =
        msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
    if (enterOrEscape && (msg.hwnd == Hwnd() || IsChild(Hwnd(), msg.hwnd) != FALSE)) {
        msg.wParam = VK_SHIFT;
    }
}

HWND CPKR_HUDDlg::OwnDialogFor(HWND target) const {
    const HWND root = target != nullptr ? GetAncestor(target, GA_ROOT) : nullptr;
    if (root != nullptr && (root == Hwnd() || GetWindow(root, GW_OWNER) == Hwnd())) {
        return root;
    }
    return nullptr;
}

void CPKR_HUDDlg::DispatchThreadMessage(MSG& msg) const {
    PreTranslateMessage(msg);
    // Every modeless window of ours gets the dialog keys (Tab between its controls, Enter and
    // Escape to its OK and Cancel), not only the main window.
    const HWND dialog = OwnDialogFor(msg.hwnd);
    if (dialog == nullptr || IsDialogMessageA(dialog, &msg) == FALSE) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

BOOL CPKR_HUDDlg::OnDestroy() {
    PostQuitMessage(0);
    return FALSE;
}

BOOL CPKR_HUDDlg::OnTimer(UINT_PTR id) {
    if (Hwnd() == nullptr) {
        return FALSE;
    }
    RefreshMainWindowRect();
    if (id == TIMER_IMPORT) {
        OnTimerImport();
    } else if (id == TIMER_AUTOSWITCH) {
        OnTimerAutoSwitch();
    } else {
        return FALSE;
    }
    FinishDebugReport();
    return TRUE;
}

void CPKR_HUDDlg::OnTimerAutoSwitch() {
    KillTimer(Hwnd(), TIMER_AUTOSWITCH);
    CWin32Windows windows(Hwnd());
    if (AutoSwitchScanAllowed(m_rcMainWnd.top, windows)) {
        CWin32Screen screen;
        RunAutoSwitchScan(screen, m_rcHotZone, IsAutoSwitchTicked(), LocalTimeNow(), m_debugReport,
                          *m_tables);
    }
    SetTimer(Hwnd(), TIMER_AUTOSWITCH, kAutoSwitchPeriodMs, nullptr);
}

void CPKR_HUDDlg::FinishDebugReport() {
    CWin32Shell shell(Hwnd());
    CompleteDebugReport(m_debugReport, shell);
}

bool CPKR_HUDDlg::IsAutoSwitchTicked() {
    return IsChecked(IDC_AUTOSWITCH);
}

sRect CPKR_HUDDlg::MainWindowRect() {
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    return ToRect(window);
}

sHistoryFolder CPKR_HUDDlg::HistoryFolder() const {
    CWin32SystemFolders folders;
    return HistoryFolderInUse(g_settings.HistoryFolder, m_strClientFolder, folders);
}

void CPKR_HUDDlg::RefreshMainWindowRect() {
    RECT window{};
    if (GetWindowRect(Hwnd(), &window) != FALSE) {
        m_rcMainWnd = window;
    }
}

void CPKR_HUDDlg::StartImportTimer(UINT periodMs) {
    SetTimer(Hwnd(), TIMER_IMPORT, periodMs, nullptr);
}

void CPKR_HUDDlg::OnTimerImport() {
    // A period counts from the end of the previous cycle, and a cycle never overlaps itself.
    KillTimer(Hwnd(), TIMER_IMPORT);
    m_import->ImportHistory(HistoryFolder());
    if (m_bCloseAfterImport) {
        EndDialog(IDCANCEL);
        return;
    }
    if (m_strStartupNotice) {
        ShowCacheNotice(Hwnd(), *std::exchange(m_strStartupNotice, std::nullopt));
        if (Hwnd() == nullptr) {
            return;  // closed while the message was shown
        }
    }
    StartImportTimer(kImportPeriodMs);
}

void CPKR_HUDDlg::SaveStatsAtExit() {
    std::error_code error;
    const bool saved = SaveStatsCache(m_stats, kCacheFileName, error);
    if (const std::optional<std::string> text =
            FailedSaveText(AbsoluteCachePath(kCacheFileName), saved, error)) {
        ShowCacheNotice(nullptr, *text);
    }
}

void ShowCacheNotice(HWND owner, const std::string& text) {
    MSG quit{};
    const bool quitting = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(kCacheNoticeCaption).c_str(),
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    if (quitting) {
        PostQuitMessage(static_cast<int>(quit.wParam));
    }
}

void CPKR_HUDDlg::OnHotZones() {
    KillTimer(Hwnd(), TIMER_IMPORT);
    const int width = ScreenWidth();
    const int height = ScreenHeight();
    CTableHotZone dialog(
        ReadHotZoneForDialog(m_store, width, height, static_cast<int>(MainWindowRect().Width())));
    // Owned by the main window, which stays disabled while it is open: no second dialog, no
    // Options or close underneath, and the switching scan sees one of its own windows in front.
    if (dialog.DoModal(Hwnd()) == IDOK) {
        m_rcHotZone = SaveHotZone(m_store, width, height, dialog.Zone());
    }
    StartImportTimer(kImportPeriodMs);
}

void CPKR_HUDDlg::OnOptions() {
    KillTimer(Hwnd(), TIMER_IMPORT);
    COptions options(m_store, m_strClientFolder, Hwnd());
    if (options.DoModal(Hwnd()) == IDOK) {
        if (!options.m_bReloadHistory && !options.m_bCreateLog) {
            m_tables->OnSelChangeTables();
        }
        if (options.m_bReloadHistory) {
            m_import->RequestFullReload(m_services->m_clock.Now());
            m_tables->RemoveAllTables();
            OnTimer(TIMER_IMPORT);
        }
        if (options.m_bCreateLog) {
            m_debugReport.Request(HistoryFolderLine(HistoryFolder()));
        }
    }
    StartImportTimer(kImportPeriodMs);
}

void CPKR_HUDDlg::OnInformation() {
    ShowInformationPanel();
}

void CPKR_HUDDlg::OnShrink() {
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    const sShrinkResult result = ToggleShrink(IsChecked(IDC_SHRINK), window.bottom - window.top);
    SetItemText(IDC_SHRINK, result.buttonText);
    SetWindowPos(Hwnd(), nullptr, 0, 0, window.right - window.left, result.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPKR_HUDDlg::ShowFirstRunMessage(const std::string& text) {
    // In UTF-16: the text may name a folder of any name.
    MessageBoxW(Hwnd(), WideFromUtf8(text).c_str(), WideFromUtf8(kImportMessageCaption).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

void CPKR_HUDDlg::ClearTableList() {
    SendDlgItemMessageA(Hwnd(), IDC_TABLES, LB_RESETCONTENT, 0, 0);
}

void CPKR_HUDDlg::ShowInformationPanel() {
    CAboutDlg panel(static_cast<uint32_t>(m_stats.CountedHands().size()), m_stats.PlayerCount(),
                    HistoryFolder());
    panel.DoModal(Hwnd());
}

void CPKR_HUDDlg::SetRange(int low, int high) {
    SendDlgItemMessageA(Hwnd(), IDC_PROGRESS, PBM_SETRANGE32, static_cast<WPARAM>(low), high);
}

void CPKR_HUDDlg::SetPos(int pos) {
    SendDlgItemMessageA(Hwnd(), IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
    PumpMessages();
}

void CPKR_HUDDlg::PumpMessages() {
    const DWORD now = GetTickCount();
    if (now - m_dwLastPump < kPumpIntervalMs) {
        return;
    }
    m_dwLastPump = now;
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (msg.message == WM_QUIT) {
            // Handed back to the main loop, which ends the program after this cycle.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchThreadMessage(msg);
    }
}
