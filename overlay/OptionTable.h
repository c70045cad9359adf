// Every Boolean option once: its value name in the "Options" section of the settings store, its
// member of the settings record and its check box state in the options dialog. Reading and
// writing the settings, the dialog's initial state and its OK all walk these tables, so a new
// option is one line here (and its control in the dialog template and kOptionsCheckBoxes).
#pragma once

#include <string>

#include "overlay/Settings.h"

// Check box states, numerically equal to the Win32 BST_* values the dialog reads.
inline constexpr int kCheckUnticked = 0;
inline constexpr int kCheckTicked = 1;
inline constexpr int kCheckIndeterminate = 2;

// The options dialog's controls: one check box state per box, the weeks box's raw text.
struct sOptionsState {
    int m_nSplitStakes = kCheckUnticked;
    int m_nTransparent = kCheckUnticked;
    int m_nAlwaysOnTop = kCheckUnticked;
    std::string m_strWeeks;
    int m_nShowVPIP = kCheckUnticked;
    int m_nShowPFR = kCheckUnticked;
    int m_nShowWTSD = kCheckUnticked;
    int m_nShowWONSD = kCheckUnticked;
    int m_nShow3BET = kCheckUnticked;
    int m_nShowFT3BET = kCheckUnticked;
    int m_nShowCBET = kCheckUnticked;
    int m_nShowFTCBET = kCheckUnticked;
    int m_nShowAGFR = kCheckUnticked;
    int m_nReloadHistory = kCheckUnticked;  // action box: never stored
    int m_nCreateLog = kCheckUnticked;      // action box: never stored
};

struct sBoolOption {
    const char* valueName;
    bool sSettings::*setting;
    int sOptionsState::*checkBox;
};

// The stored order: these three, then the weeks, then the nine Show flags.
inline constexpr sBoolOption kMainSwitchOptions[] = {
    {"SplitStats_Stakes", &sSettings::SplitStats_Stakes, &sOptionsState::m_nSplitStakes},
    {"TransparentWindows", &sSettings::TransparentWindows, &sOptionsState::m_nTransparent},
    {"MainWindowAlwaysOnTop", &sSettings::MainWindowAlwaysOnTop, &sOptionsState::m_nAlwaysOnTop},
};
inline constexpr const char* kWeeksValueName = "OldestStatsInWeeks";
inline constexpr sBoolOption kShowOptions[] = {
    {"ShowVPIP", &sSettings::ShowVPIP, &sOptionsState::m_nShowVPIP},
    {"ShowPFR", &sSettings::ShowPFR, &sOptionsState::m_nShowPFR},
    {"ShowWTSD", &sSettings::ShowWTSD, &sOptionsState::m_nShowWTSD},
    {"ShowWONSD", &sSettings::ShowWONSD, &sOptionsState::m_nShowWONSD},
    {"Show3BET", &sSettings::Show3BET, &sOptionsState::m_nShow3BET},
    {"ShowFT3BET", &sSettings::ShowFT3BET, &sOptionsState::m_nShowFT3BET},
    {"ShowCBET", &sSettings::ShowCBET, &sOptionsState::m_nShowCBET},
    {"ShowFTCBET", &sSettings::ShowFTCBET, &sOptionsState::m_nShowFTCBET},
    {"ShowAGFR", &sSettings::ShowAGFR, &sOptionsState::m_nShowAGFR},
};

// Calls `visit` with every Boolean option, in the stored order.
template <typename Visit>
void ForEachBoolOption(Visit&& visit) {
    for (const sBoolOption& option : kMainSwitchOptions) {
        visit(option);
    }
    for (const sBoolOption& option : kShowOptions) {
        visit(option);
    }
}
