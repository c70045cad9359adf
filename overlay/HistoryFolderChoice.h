// The hand history folder in use as the player is shown it: the folder he chose in the options,
// else the PKR client's, and whether it is there to be read. The chosen folder is a stored text
// anyone may have written, so it is checked before the system sees it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/SystemFolders.h"

// A chosen folder longer than this many bytes names no folder the system could open.
inline constexpr std::size_t kMaxHistoryFolderBytes = 32767;
// How much of such a folder is shown, before "...".
inline constexpr std::size_t kShownFolderBytes = 200;

// Whether the folder in use is there to be read.
enum class eFolderState { Found, NotFound };

// The folder the import reads, as the player is shown it.
struct sHistoryFolder {
    std::string m_strPath;  // UTF-8; shortened with "..." when too long to be a folder
    eFolderState m_state = eFolderState::NotFound;
};

// The folder in use: `chosen` (the player's setting, untrusted) when it is not empty, else
// `clientFolder`; found when `folders` can read it. A chosen text too long to be a folder, or
// holding a control character, is never handed to the system: it is reported not found, shown
// cut to kShownFolderBytes (at a character boundary) and "...", its control characters as
// blanks.
[[nodiscard]] sHistoryFolder HistoryFolderInUse(std::string_view chosen,
                                                const std::string& clientFolder,
                                                ISystemFolders& folders);

// The folder as the options dialog shows it: its path, followed by " (not found)" when it is not
// there.
[[nodiscard]] std::string HistoryFolderText(const sHistoryFolder& folder);
// The line that names the folder in the information panel and the troubleshooting log:
// "Hand history folder: " and HistoryFolderText.
[[nodiscard]] std::string HistoryFolderLine(const sHistoryFolder& folder);
