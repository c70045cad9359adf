#include "app/PKR_HUDApp.h"

#include <commctrl.h>

#include <cstdint>
#include <string>

#include "app/CacheNotices.h"
#include "app/CrashHandler.h"
#include "app/PKR_HUDDlg.h"
#include "history/CacheLock.h"
#include "history/StatsCache.h"
#include "history/StatsStore.h"
#include "overlay/AboutDlg.h"
#include "overlay/OptionsDlg.h"
#include "overlay/Settings.h"
#include "overlay/SettingsStore.h"
#include "platform/win32/RegistrySettingsStore.h"
#include "platform/win32/Win32SystemFolders.h"

namespace {

// Besides the normal start, two switches open one dialog on its own, for checking a dialog
// without the main window's timers (the end-to-end tests use them):
//   /options  the options dialog; exit status 0 after OK, 1 after Cancel
//   /info     the information panel with the cache file's counts and the hand history folder;
//             its end result
// and a third, left out of the guide, that crashes at once to show the crash report is written:
//   /crash-test [stack|heap]   a write to address 0, a stack overflow or a corrupted heap
enum class eStartMode { MainWindow, Options, Information, CrashTest };

eStartMode StartModeFromCommandLine(std::string_view commandLine) {
    const size_t start = commandLine.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return eStartMode::MainWindow;
    }
    const size_t end = commandLine.find_first_of(" \t", start);
    const std::string word(commandLine.substr(start, end - start));
    if (lstrcmpiA(word.c_str(), "/options") == 0) {
        return eStartMode::Options;
    }
    if (lstrcmpiA(word.c_str(), "/info") == 0) {
        return eStartMode::Information;
    }
    if (lstrcmpiA(word.c_str(), "/crash-test") == 0) {
        return eStartMode::CrashTest;
    }
    return eStartMode::MainWindow;
}

}  // namespace

void CPKR_HUDApp::InitInstance() {
    // The information panel's text box is a rich edit control of this library; it must be loaded
    // before a dialog with that control is created. It stays loaded for the process.
    LoadLibraryA("Msftedit.dll");
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

int CPKR_HUDApp::RunMainWindow(const CPKR_HUDDlg& mainWindow) {
    MSG msg{};
    while (mainWindow.Hwnd() != nullptr) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            break;
        }
        mainWindow.DispatchThreadMessage(msg);
    }
    return 0;
}

int CPKR_HUDApp::Run(std::string_view commandLine) {
    InitInstance();
    CRegistrySettingsStore store("Quillworks", "Lanternquill");
    // The statistics are one store for the whole process, which the main window fills.
    CStatsStore stats;

    switch (StartModeFromCommandLine(commandLine)) {
        case eStartMode::CrashTest:
            CrashForTest(TestCrashFromCommandLine(commandLine));
        case eStartMode::Options: {
            ReadAllSettings(store, g_settings);
            COptions options(store, CPKR_HUDDlg::LookUpClientHistoryFolder());
            return options.DoModal(nullptr) == IDOK ? 0 : 1;
        }
        case eStartMode::Information: {
            // Only shows the counts: a damaged cache is left for the main window to set aside.
            LoadStatsCacheEx(stats, kCacheFileName, /*setAsideIfRejected=*/false);
            ReadAllSettings(store, g_settings);
            CWin32SystemFolders folders;
            CAboutDlg panel(static_cast<uint32_t>(stats.CountedHands().size()), stats.PlayerCount(),
                            HistoryFolderInUse(g_settings.HistoryFolder,
                                               CPKR_HUDDlg::LookUpClientHistoryFolder(), folders));
            return static_cast<int>(panel.DoModal(nullptr));
        }
        case eStartMode::MainWindow:
            break;
    }

    // Held until the main window's exit sequence has saved the cache: a second Lanternquill, or an
    // import of the command-line tool, would otherwise save over what this one added, or this one
    // over theirs. The one that comes second gives way.
    CSystemNamedLocks locks;
    const sLockAttempt cacheLock = LockCacheFile(locks, kCacheFileName);
    if (cacheLock.outcome == eLockOutcome::HeldElsewhere) {
        ShowCacheNotice(nullptr, CacheInUseText(AbsoluteCachePath(kCacheFileName)));
        return 1;
    }

    // The main window runs as a modeless dialog with this loop instead of a modal one, so that
    // Enter and Escape can be taken away from it before the dialog manager sees them. The loop
    // ends when the user has closed the window; its destructor is the exit sequence.
    CPKR_HUDDlg mainWindow(store, stats);
    if (mainWindow.Create(nullptr) == nullptr) {
        return 1;
    }
    return RunMainWindow(mainWindow);
}

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR commandLine,
                   int /*showCommand*/) {
    // Before anything can fail, and while the current folder is still the one the cache file is in.
    InstallCrashHandler();
    try {
        CPKR_HUDApp app;
        return app.Run(commandLine != nullptr ? commandLine : "");
    } catch (...) {
        // Out of memory outside any window procedure: nothing useful can be shown.
        return 3;
    }
}
