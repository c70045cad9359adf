// Finding the PKR hand history folder: the folder the player chose in the options, else the one
// the PKR client's registry entry names ("SOFTWARE\PKR" value "InstallDirectory"), else where
// the client installs by default.
//
// The main window looks the client's pattern up once when it is made (e.g.
// "C:\Program Files\PKR\handhistory\*.*") and, at every import cycle, hands the import the
// folder in use (e.g. "C:\Program Files\PKR\handhistory").
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "overlay/HistoryFolderChoice.h"
#include "platform/RegistryReader.h"
#include "platform/SystemFolders.h"

inline constexpr const char* kPkrRegistryKey = "SOFTWARE\\PKR";
inline constexpr const char* kPkrInstallValue = "InstallDirectory";
// Used when no key names the install folder and the 32-bit program files folder holds no PKR
// folder.
inline constexpr const char* kDefaultHistoryPattern = R"(C:\Program Files\PKR\handhistory\*.*)";
inline constexpr const char* kHistoryPatternSuffix = "\\handhistory\\*.*";
// The client's install folder within the 32-bit program files folder.
inline constexpr const char* kPkrFolderName = "PKR";

// The search pattern of the PKR client's hand history folder. The keys are tried in this order:
// the machine key in its 32-bit view (where the client's 32-bit installer writes on a 64-bit
// Windows), the machine key in its 64-bit view, the user key. The first key that opens is the
// one read: a machine key without the value gives "\handhistory\*.*" rather than trying the next.
// The install folder (UTF-8) is read into a buffer of 256 characters, so a value of more than
// 255 characters counts as unreadable (empty), and text after an embedded NUL is dropped.
// Whether that folder exists is not checked. Without any key: the PKR folder of the 32-bit
// program files folder followed by "\handhistory\*.*" when that PKR folder can be read, else
// kDefaultHistoryPattern.
[[nodiscard]] std::string LookUpHistoryPattern(IRegistryReader& registry, ISystemFolders& folders);

// The folder a search pattern searches: the pattern without its trailing "\*.*" (a pattern not
// ending so is returned unchanged).
[[nodiscard]] std::string HistoryFolderFromPattern(std::string_view pattern);
