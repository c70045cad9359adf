// The "Options" settings record as it is kept in the settings store (platform/SettingsStore.h).
#pragma once

#include "overlay/Settings.h"
#include "platform/SettingsStore.h"

inline constexpr const char* kOptionsSection = "Options";

// Reads the thirteen "Options" values into `settings`: a Boolean is true exactly when the stored
// number is 1; the weeks value is clamped into 1..999.
void ReadAllSettings(ISettingsStore& store, sSettings& settings);
// Writes the thirteen "Options" values in the record's order (Booleans as 1 or 0).
void WriteAllSettings(ISettingsStore& store, const sSettings& settings);
