// Finding the PKR hand history folder from the PKR client's registry entry: "SOFTWARE\PKR" value
// "InstallDirectory", machine hive first, then the user hive.
//
// The main window looks the pattern up once when it is made (e.g.
// "C:\Program Files\PKR\handhistory\*.*") and hands the import cycle the folder it searches
// (e.g. "C:\Program Files\PKR\handhistory").
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/RegistryReader.h"

inline constexpr const char* kPkrRegistryKey = "SOFTWARE\\PKR";
inline constexpr const char* kPkrInstallValue = "InstallDirectory";
// Used when neither hive has the PKR key.
inline constexpr const char* kDefaultHistoryPattern = R"(C:\Program Files\PKR\handhistory\*.*)";
inline constexpr const char* kHistoryPatternSuffix = "\\handhistory\\*.*";

// The search pattern of the hand history folder. The first hive whose key opens is the one
// read: a machine key without the value gives "\handhistory\*.*" rather than trying the user
// hive. The install folder (UTF-8) is read into a buffer of 256 characters, so a value of more
// than 255 characters counts as unreadable (empty), and text after an embedded NUL is dropped.
// Whether the folder exists is not checked.
[[nodiscard]] std::string LookUpHistoryPattern(IRegistryReader& registry);

// The folder a search pattern searches: the pattern without its trailing "\*.*" (a pattern not
// ending so is returned unchanged).
[[nodiscard]] std::string HistoryFolderFromPattern(std::string_view pattern);
