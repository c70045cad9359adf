// Everything the options dialog does, as data in and data out: the dialog only copies control
// states into an sOptionsState and back, so its whole behaviour is testable without a window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "overlay/OptionTable.h"
#include "overlay/Settings.h"
#include "overlay/SettingsStore.h"
#include "platform/FolderPicker.h"

// The controls as the dialog opens: the settings' values, the weeks as a plain decimal number,
// the chosen hand history folder, both action boxes unticked.
[[nodiscard]] sOptionsState OptionsInitialState(const sSettings& settings);

// The weeks box's text read like the C library's decimal conversion (leading blanks, optional
// sign, digits up to the first non-digit, no digits gives 0; a number beyond the int range
// saturates), then clamped into 1..999.
[[nodiscard]] int ParseWeeksText(std::string_view text);

// OK: takes the settings from the controls into `settings` (a setting box counts only when ticked,
// an action box whenever it is not unticked), writes every stored option to `store` and reports
// the requests of the action boxes. A changed weeks value asks for a reload too, since the cut-off
// time moved, and so does a changed hand history folder, which alone is written only when it
// changed (so a player who never chose one keeps no value for it).
sOptionsResult ApplyOptionsOk(const sOptionsState& state, sSettings& settings,
                              ISettingsStore& store);

// "Browse...": the picker opens at `shownFolder` (the folder the dialog shows); the folder the user
// picks becomes `chosenFolder`, the dialog's choice; a cancelled pick leaves it as it was.
// Returns whether the choice changed.
bool BrowseForHistoryFolder(std::string& chosenFolder, IFolderPicker& picker,
                            const std::string& shownFolder);
