// Everything the options dialog does, as data in and data out: the dialog only copies control
// states into an sOptionsState and back, so its whole behaviour is testable without a window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "overlay/OptionTable.h"
#include "overlay/Settings.h"
#include "overlay/SettingsStore.h"
#include "resources/resource.h"

// Which check box control holds which state field.
struct sOptionsCheckBox {
    int m_nControlId;
    int sOptionsState::*m_pField;
};
inline constexpr sOptionsCheckBox kOptionsCheckBoxes[] = {
    {IDC_SPLIT_STAKES, &sOptionsState::m_nSplitStakes},
    {IDC_TRANSPARENT, &sOptionsState::m_nTransparent},
    {IDC_ALWAYS_ON_TOP, &sOptionsState::m_nAlwaysOnTop},
    {IDC_SHOW_VPIP, &sOptionsState::m_nShowVPIP},
    {IDC_SHOW_PFR, &sOptionsState::m_nShowPFR},
    {IDC_SHOW_WTSD, &sOptionsState::m_nShowWTSD},
    {IDC_SHOW_WONSD, &sOptionsState::m_nShowWONSD},
    {IDC_SHOW_3BET, &sOptionsState::m_nShow3BET},
    {IDC_SHOW_FT3BET, &sOptionsState::m_nShowFT3BET},
    {IDC_SHOW_CBET, &sOptionsState::m_nShowCBET},
    {IDC_SHOW_FTCBET, &sOptionsState::m_nShowFTCBET},
    {IDC_SHOW_AGFR, &sOptionsState::m_nShowAGFR},
    {IDC_RELOAD_HISTORY, &sOptionsState::m_nReloadHistory},
    {IDC_CREATE_LOG, &sOptionsState::m_nCreateLog},
};

// What the caller must do after OK.
struct sOptionsResult {
    bool m_bReloadHistory = false;  // rebuild the statistics from all hand history
    bool m_bCreateLog = false;      // write a troubleshooting log
};

// The controls as the dialog opens: the settings' values, the weeks as a plain decimal number,
// both action boxes unticked.
[[nodiscard]] sOptionsState OptionsInitialState(const sSettings& settings);

// The weeks box's text read like the C library's decimal conversion (leading blanks, optional
// sign, digits up to the first non-digit, no digits gives 0; a number beyond the int range
// saturates), then clamped into 1..999.
[[nodiscard]] int ParseWeeksText(std::string_view text);

// OK: takes the settings from the controls into `settings` (a setting box counts only when ticked,
// an action box whenever it is not unticked), writes all thirteen values to `store` and reports
// the two requests. A changed weeks value asks for a reload too, since the cut-off time moved.
sOptionsResult ApplyOptionsOk(const sOptionsState& state, sSettings& settings,
                              ISettingsStore& store);
