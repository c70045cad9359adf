// The "Options" settings record as it is kept in the settings store (platform/SettingsStore.h).
#pragma once

#include "overlay/Settings.h"
#include "platform/SettingsStore.h"

inline constexpr const char* kOptionsSection = "Options";
// The chosen hand history folder: a text value of "Options", absent (or empty) for the PKR
// client's folder.
inline constexpr const char* kHistoryFolderValue = "HistoryFolder";

// Reads the thirteen "Options" values into `settings`: a Boolean is true exactly when the stored
// number is 1; the weeks value is clamped into 1..999. Then the chosen hand history folder: a
// value that is missing or not a text reads as empty (the client's folder).
void ReadAllSettings(ISettingsStore& store, sSettings& settings);
// Writes the thirteen "Options" values in the record's order (Booleans as 1 or 0). The folder is
// not among them: it is written only when the player changes it (WriteHistoryFolder).
void WriteAllSettings(ISettingsStore& store, const sSettings& settings);
// Stores the chosen hand history folder (empty for the client's folder).
void WriteHistoryFolder(ISettingsStore& store, const std::string& folder);
