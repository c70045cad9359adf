#include "overlay/SettingsStore.h"

namespace {

// One Boolean field of the settings record with its registry value name.
struct sBoolValue {
    const char* name;
    bool sSettings::*field;
};

constexpr const char* kWeeksValueName = "OldestStatsInWeeks";

// The record's order is the registry order: these three, then the weeks, then the nine Show flags.
constexpr sBoolValue kMainSwitches[] = {
    {"SplitStats_Stakes", &sSettings::SplitStats_Stakes},
    {"TransparentWindows", &sSettings::TransparentWindows},
    {"MainWindowAlwaysOnTop", &sSettings::MainWindowAlwaysOnTop},
};
constexpr sBoolValue kShowFlags[] = {
    {"ShowVPIP", &sSettings::ShowVPIP}, {"ShowPFR", &sSettings::ShowPFR},
    {"ShowWTSD", &sSettings::ShowWTSD}, {"ShowWONSD", &sSettings::ShowWONSD},
    {"Show3BET", &sSettings::Show3BET}, {"ShowFT3BET", &sSettings::ShowFT3BET},
    {"ShowCBET", &sSettings::ShowCBET}, {"ShowFTCBET", &sSettings::ShowFTCBET},
    {"ShowAGFR", &sSettings::ShowAGFR},
};

// Only a stored 1 means true, so a corrupted or hand-edited value switches a feature off.
template <size_t N>
void ReadBoolList(ISettingsStore& store, const sBoolValue (&values)[N], sSettings& settings) {
    static constexpr sSettings kDefaults{};
    for (const sBoolValue& value : values) {
        const int32_t stored =
            store.ReadInt(kOptionsSection, value.name, kDefaults.*value.field ? 1 : 0);
        settings.*value.field = stored == 1;
    }
}

template <size_t N>
void WriteBoolList(ISettingsStore& store, const sBoolValue (&values)[N],
                   const sSettings& settings) {
    for (const sBoolValue& value : values) {
        store.WriteInt(kOptionsSection, value.name, settings.*value.field ? 1 : 0);
    }
}

}  // namespace

void ReadAllSettings(ISettingsStore& store, sSettings& settings) {
    static constexpr sSettings kDefaults{};
    ReadBoolList(store, kMainSwitches, settings);
    settings.OldestStatsInWeeks =
        ClampWeeks(store.ReadInt(kOptionsSection, kWeeksValueName, kDefaults.OldestStatsInWeeks));
    ReadBoolList(store, kShowFlags, settings);
}

void WriteAllSettings(ISettingsStore& store, const sSettings& settings) {
    WriteBoolList(store, kMainSwitches, settings);
    store.WriteInt(kOptionsSection, kWeeksValueName, settings.OldestStatsInWeeks);
    WriteBoolList(store, kShowFlags, settings);
}
