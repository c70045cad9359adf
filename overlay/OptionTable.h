// Every option of the "Options" section once. A Boolean option is one line of kBoolOptions: its
// value name in the settings store, its check box in the options dialog and its member of the
// settings record. The weeks value (the one number) and the dialog's two action boxes (requests
// to the caller, never stored) are described beside it. Reading and writing the settings, the
// dialog's initial state, its OK and its copying of control states all walk these tables, so a
// new Boolean option is its member in sSettings, one line in kBoolOptions and its check box in
// the dialog template.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "overlay/Settings.h"
#include "resources/resource.h"

// Check box states, numerically equal to the Win32 BST_* values the dialog reads (a type of their
// own, so that a state and a control id cannot change places).
enum eCheckState : int { kCheckUnticked = 0, kCheckTicked = 1, kCheckIndeterminate = 2 };

// What the caller must do after OK.
struct sOptionsResult {
    bool m_bReloadHistory = false;  // rebuild the statistics from all hand history
    bool m_bCreateLog = false;      // write a troubleshooting log
};

struct sBoolOption {
    const char* valueName;
    int controlId;
    bool sSettings::*setting;
};

// In the stored order, with the weeks value written after the first kWeeksOption.storedAfter.
inline constexpr sBoolOption kBoolOptions[] = {
    {"SplitStats_Stakes", IDC_SPLIT_STAKES, &sSettings::SplitStats_Stakes},
    {"TransparentWindows", IDC_TRANSPARENT, &sSettings::TransparentWindows},
    {"MainWindowAlwaysOnTop", IDC_ALWAYS_ON_TOP, &sSettings::MainWindowAlwaysOnTop},
    {"ShowVPIP", IDC_SHOW_VPIP, &sSettings::ShowVPIP},
    {"ShowPFR", IDC_SHOW_PFR, &sSettings::ShowPFR},
    {"ShowWTSD", IDC_SHOW_WTSD, &sSettings::ShowWTSD},
    {"ShowWONSD", IDC_SHOW_WONSD, &sSettings::ShowWONSD},
    {"Show3BET", IDC_SHOW_3BET, &sSettings::Show3BET},
    {"ShowFT3BET", IDC_SHOW_FT3BET, &sSettings::ShowFT3BET},
    {"ShowCBET", IDC_SHOW_CBET, &sSettings::ShowCBET},
    {"ShowFTCBET", IDC_SHOW_FTCBET, &sSettings::ShowFTCBET},
    {"ShowAGFR", IDC_SHOW_AGFR, &sSettings::ShowAGFR},
};

// sSettings::OldestStatsInWeeks: an edit box of digits, stored clamped into 1..999.
struct sWeeksOption {
    const char* valueName;
    int controlId;
    std::size_t storedAfter;  // how many of kBoolOptions are written before it
};
inline constexpr sWeeksOption kWeeksOption{"OldestStatsInWeeks", IDC_WEEKS, 3};
static_assert(kWeeksOption.storedAfter <= std::size(kBoolOptions));

// A check box that asks the caller for an action after OK; it always opens unticked.
struct sActionBox {
    int controlId;
    bool sOptionsResult::*request;
};
inline constexpr sActionBox kActionBoxes[] = {
    {IDC_RELOAD_HISTORY, &sOptionsResult::m_bReloadHistory},
    {IDC_CREATE_LOG, &sOptionsResult::m_bCreateLog},
};

// Every check box of the dialog: the Boolean options' in table order, then the action boxes'.
inline constexpr std::size_t kCheckBoxCount = std::size(kBoolOptions) + std::size(kActionBoxes);
inline constexpr std::array<int, kCheckBoxCount> kCheckBoxIds = [] {
    std::array<int, kCheckBoxCount> ids{};
    std::size_t next = 0;
    for (const sBoolOption& option : kBoolOptions) {
        ids.at(next++) = option.controlId;
    }
    for (const sActionBox& box : kActionBoxes) {
        ids.at(next++) = box.controlId;
    }
    return ids;
}();

// The options dialog's controls as data: the state of every check box in kCheckBoxIds, looked up
// by control id, the weeks box's raw text and the hand history folder chosen (empty: the PKR
// client's). Every box starts unticked.
struct sOptionsState {
    std::string m_strWeeks;
    std::string m_strHistoryFolder;

    // An id that is not in kCheckBoxIds reads as unticked and takes no state.
    [[nodiscard]] eCheckState Check(int controlId) const {
        const std::size_t index = IndexOf(controlId);
        return index < kCheckBoxCount ? m_aChecks.at(index) : kCheckUnticked;
    }
    void SetCheck(int controlId, eCheckState check) {
        const std::size_t index = IndexOf(controlId);
        if (index < kCheckBoxCount) {
            m_aChecks.at(index) = check;
        }
    }

private:
    // kCheckBoxCount when absent.
    static constexpr std::size_t IndexOf(int controlId) {
        std::size_t index = 0;
        while (index < kCheckBoxCount && kCheckBoxIds.at(index) != controlId) {
            ++index;
        }
        return index;
    }

    std::array<eCheckState, kCheckBoxCount> m_aChecks{};  // kCheckUnticked is 0
};
