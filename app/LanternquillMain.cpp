// Entry point of the Windows program.
//
// For now, until the main window exists, the program only does the start-up steps that do not
// need it and then opens one dialog, chosen by the command line:
//   /options  the options dialog; exit status 0 after OK, 1 after Cancel
//   /info     the information panel with the cache file's counts
//   (none)    the information panel as well, as after the first import of a start (any other
//             argument is treated the same)
// The exit status after the panel is its end result (IDCANCEL when closed by Escape or its close
// box). Nothing else is written: the settings only by the options dialog's OK.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "history/StatsCache.h"
#include "history/StatsStore.h"
#include "overlay/AboutDlg.h"
#include "overlay/OptionsDlg.h"
#include "overlay/Settings.h"
#include "overlay/SettingsStore.h"
#include "platform/win32/RegistrySettingsStore.h"

namespace {

enum class eStartDialog { Options, Information };

// The first word of the command line, compared without regard to case as Windows users expect.
eStartDialog StartDialogFromCommandLine(std::string_view commandLine) {
    const size_t start = commandLine.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return eStartDialog::Information;
    }
    const size_t end = commandLine.find_first_of(" \t", start);
    const std::string word(commandLine.substr(start, end - start));
    if (lstrcmpiA(word.c_str(), "/options") == 0) {
        return eStartDialog::Options;
    }
    return eStartDialog::Information;
}

void InitCommonControlClasses() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
}

int RunOptions(ISettingsStore& store) {
    COptions options(store);
    return options.DoModal(nullptr) == IDOK ? 0 : 1;
}

int RunInformation(const CStatsStore& stats) {
    CAboutDlg panel(static_cast<uint32_t>(stats.CountedHands().size()), stats.PlayerCount());
    return static_cast<int>(panel.DoModal(nullptr));
}

int Run(std::string_view commandLine) {
    CRegistrySettingsStore store("Quillworks", "Lanternquill");
    ReadAllSettings(store, g_settings);
    // The statistics of earlier runs, from the current folder (a malformed file is deleted and
    // the store starts empty).
    CStatsStore stats;
    LoadStatsCache(stats, kCacheFileName);
    // The information panel's text box is a rich edit control of this library; it must be
    // loaded before a dialog with that control is created. It stays loaded for the process.
    LoadLibraryA("Msftedit.dll");
    InitCommonControlClasses();

    switch (StartDialogFromCommandLine(commandLine)) {
        case eStartDialog::Options:
            return RunOptions(store);
        case eStartDialog::Information:
            return RunInformation(stats);
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR commandLine,
                   int /*showCommand*/) {
    try {
        return Run(commandLine != nullptr ? commandLine : "");
    } catch (...) {
        // Out of memory during start-up: nothing useful can be shown.
        return 3;
    }
}
