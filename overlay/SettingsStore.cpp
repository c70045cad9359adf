#include "overlay/SettingsStore.h"

#include "overlay/OptionTable.h"

namespace {

// Calls `onBool` with every Boolean option and `onWeeks` for the weeks value, in the stored order.
template <typename OnBool, typename OnWeeks>
void ForEachStoredOption(OnBool&& onBool, OnWeeks&& onWeeks) {
    for (std::size_t index = 0; index < std::size(kBoolOptions); ++index) {
        if (index == kWeeksOption.storedAfter) {
            onWeeks();
        }
        onBool(kBoolOptions[index]);
    }
    if (kWeeksOption.storedAfter == std::size(kBoolOptions)) {
        onWeeks();
    }
}

}  // namespace

void ReadAllSettings(ISettingsStore& store, sSettings& settings) {
    static const sSettings kDefaults{};
    ForEachStoredOption(
        [&](const sBoolOption& option) {
            // Only a stored 1 means true, so a corrupted or hand-edited value switches a feature
            // off.
            const int32_t stored =
                store.ReadInt(kOptionsSection, option.valueName, kDefaults.*option.setting ? 1 : 0);
            settings.*option.setting = stored == 1;
        },
        [&] {
            settings.OldestStatsInWeeks = ClampWeeks(store.ReadInt(
                kOptionsSection, kWeeksOption.valueName, kDefaults.OldestStatsInWeeks));
        });
    settings.HistoryFolder = store.ReadString(kOptionsSection, kHistoryFolderValue).value_or("");
}

void WriteAllSettings(ISettingsStore& store, const sSettings& settings) {
    ForEachStoredOption(
        [&](const sBoolOption& option) {
            store.WriteInt(kOptionsSection, option.valueName, settings.*option.setting ? 1 : 0);
        },
        [&] {
            store.WriteInt(kOptionsSection, kWeeksOption.valueName, settings.OldestStatsInWeeks);
        });
}

void WriteHistoryFolder(ISettingsStore& store, const std::string& folder) {
    store.WriteString(kOptionsSection, kHistoryFolderValue, folder);
}
