#include "overlay/SettingsStore.h"

#include "overlay/OptionTable.h"

namespace {

// Only a stored 1 means true, so a corrupted or hand-edited value switches a feature off.
template <size_t N>
void ReadBoolList(ISettingsStore& store, const sBoolOption (&options)[N], sSettings& settings) {
    static constexpr sSettings kDefaults{};
    for (const sBoolOption& option : options) {
        const int32_t stored =
            store.ReadInt(kOptionsSection, option.valueName, kDefaults.*option.setting ? 1 : 0);
        settings.*option.setting = stored == 1;
    }
}

template <size_t N>
void WriteBoolList(ISettingsStore& store, const sBoolOption (&options)[N],
                   const sSettings& settings) {
    for (const sBoolOption& option : options) {
        store.WriteInt(kOptionsSection, option.valueName, settings.*option.setting ? 1 : 0);
    }
}

}  // namespace

void ReadAllSettings(ISettingsStore& store, sSettings& settings) {
    static constexpr sSettings kDefaults{};
    ReadBoolList(store, kMainSwitchOptions, settings);
    settings.OldestStatsInWeeks =
        ClampWeeks(store.ReadInt(kOptionsSection, kWeeksValueName, kDefaults.OldestStatsInWeeks));
    ReadBoolList(store, kShowOptions, settings);
}

void WriteAllSettings(ISettingsStore& store, const sSettings& settings) {
    WriteBoolList(store, kMainSwitchOptions, settings);
    store.WriteInt(kOptionsSection, kWeeksValueName, settings.OldestStatsInWeeks);
    WriteBoolList(store, kShowOptions, settings);
}
