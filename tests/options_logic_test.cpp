#include "overlay/OptionsLogic.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// All thirteen values as written for `settings`; their order is checked with the store itself.
std::vector<std::pair<std::string, int32_t>> WritesOf(const sSettings& settings) {
    CMemorySettingsStore store;
    WriteAllSettings(store, settings);
    return store.m_aWrites;
}

// The dialog's control-to-setting table, written out independently of the code's.
const std::map<int, bool sSettings::*> kSettingOfControl = {
    {1032, &sSettings::SplitStats_Stakes},
    {1033, &sSettings::TransparentWindows},
    {1035, &sSettings::MainWindowAlwaysOnTop},
    {1040, &sSettings::ShowVPIP},
    {1041, &sSettings::ShowPFR},
    {1042, &sSettings::ShowWTSD},
    {1043, &sSettings::ShowWONSD},
    {1047, &sSettings::Show3BET},
    {1048, &sSettings::ShowFT3BET},
    {1044, &sSettings::ShowCBET},
    {1045, &sSettings::ShowFTCBET},
    {1046, &sSettings::ShowAGFR}};

sOptionsState AllUnticked(std::string weeks) {
    sOptionsState state;
    state.m_strWeeks = std::move(weeks);
    return state;
}

TEST(OptionsLogic, OpensWithTheSettingsAndBothActionsUnticked) {
    sSettings settings;
    settings.TransparentWindows = true;
    settings.ShowPFR = false;
    settings.OldestStatsInWeeks = 7;
    sOptionsState state = OptionsInitialState(settings);
    EXPECT_EQ(state.m_strWeeks, "7");
    EXPECT_EQ(state.Check(1036), kCheckUnticked);
    EXPECT_EQ(state.Check(1037), kCheckUnticked);
    for (const auto& [id, field] : kSettingOfControl) {
        EXPECT_EQ(state.Check(id), settings.*field ? kCheckTicked : kCheckUnticked) << id;
    }
    EXPECT_EQ(OptionsInitialState(sSettings{}).m_strWeeks, "52");
    settings.OldestStatsInWeeks = 999;
    EXPECT_EQ(OptionsInitialState(settings).m_strWeeks, "999");
}

TEST(OptionsLogic, WeeksTextConvertsLikeTheCLibraryThenClamps) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"52", 52},
        {"0", 1},
        {"5000", 999},
        {"999", 999},
        {"1000", 999},
        {"1", 1},
        {"12abc", 12},
        {" -5", 1},
        {"+7", 7},
        {"", 1},
        {"abc", 1},
        {" \t\n42", 42},
        {"007", 7},
        {"- 5", 1},
        {"+-3", 1},
        {"3 4", 3},
        {"   ", 1},
        {"-0", 1},
        {"12.9", 12},
        {"99999999999999999999999", 999},
        {"-99999999999999999999999", 1},
        {"2147483648", 999},
        {"4294967348", 999},  // would wrap to 52 in 32 bits
    };
    for (const auto& [text, weeks] : cases) {
        EXPECT_EQ(ParseWeeksText(text), weeks) << '"' << text << '"';
    }
}

TEST(OptionsLogic, OkWithNothingChangedRewritesAllThirteenAndReportsNothing) {
    sSettings settings;
    settings.ShowCBET = false;
    settings.OldestStatsInWeeks = 12;
    const sSettings before = settings;
    CMemorySettingsStore store;
    const sOptionsResult result = ApplyOptionsOk(OptionsInitialState(settings), settings, store);
    EXPECT_FALSE(result.m_bReloadHistory);
    EXPECT_FALSE(result.m_bCreateLog);
    EXPECT_EQ(store.m_aWrites.size(), 13u);
    EXPECT_EQ(store.m_aWrites, WritesOf(before));
    EXPECT_EQ(WritesOf(settings), WritesOf(before));
}

TEST(OptionsLogic, EachBoxSetsItsOwnSetting) {
    for (const auto& [id, field] : kSettingOfControl) {
        sSettings settings;
        sOptionsState state = AllUnticked("52");
        state.SetCheck(id, kCheckTicked);
        CMemorySettingsStore store;
        ApplyOptionsOk(state, settings, store);
        for (const auto& [otherId, otherField] : kSettingOfControl) {
            EXPECT_EQ(settings.*otherField, otherId == id)
                << "ticked " << id << ", read " << otherId;
        }
    }
}

TEST(OptionsLogic, SettingBoxesCountOnlyWhenTickedActionBoxesWhenNotUnticked) {
    sSettings settings;
    sOptionsState state = OptionsInitialState(settings);
    for (const auto& [id, field] : kSettingOfControl) {
        state.SetCheck(id, kCheckIndeterminate);
    }
    state.SetCheck(1036, kCheckIndeterminate);  // reload
    state.SetCheck(1037, kCheckIndeterminate);  // log
    CMemorySettingsStore store;
    const sOptionsResult result = ApplyOptionsOk(state, settings, store);
    for (const auto& [id, field] : kSettingOfControl) {
        EXPECT_FALSE(settings.*field) << id;
    }
    EXPECT_TRUE(result.m_bReloadHistory);
    EXPECT_TRUE(result.m_bCreateLog);

    state.SetCheck(1036, kCheckUnticked);
    state.SetCheck(1037, kCheckTicked);
    const sOptionsResult logOnly = ApplyOptionsOk(state, settings, store);
    EXPECT_FALSE(logOnly.m_bReloadHistory);
    EXPECT_TRUE(logOnly.m_bCreateLog);
}

TEST(OptionsLogic, ReloadFollowsTheClampedWeeksValue) {
    struct sCase {
        int previous;
        const char* typed;
        int stored;
        bool reload;
    };
    const sCase cases[] = {
        {52, "26", 26, true},   // only the weeks changed
        {52, "52", 52, false},  // retyped the same number
        {52, "52abc", 52, false},  {52, "0", 1, true},  {52, "5000", 999, true},
        {999, "5000", 999, false},  // clamps to the value already in force
        {1, "", 1, false},         {1, "-8", 1, false},
    };
    for (const sCase& c : cases) {
        sSettings settings;
        settings.OldestStatsInWeeks = c.previous;
        sOptionsState state = OptionsInitialState(settings);
        state.m_strWeeks = c.typed;
        CMemorySettingsStore store;
        const sOptionsResult result = ApplyOptionsOk(state, settings, store);
        EXPECT_EQ(settings.OldestStatsInWeeks, c.stored) << c.typed;
        EXPECT_EQ(store.ReadInt("Options", "OldestStatsInWeeks", -1), c.stored) << c.typed;
        EXPECT_EQ(result.m_bReloadHistory, c.reload) << c.previous << " -> " << c.typed;
        EXPECT_FALSE(result.m_bCreateLog);
    }
}

TEST(OptionTable, EveryBooleanOptionShowsInTheDialogAndOkTakesIt) {
    for (const sBoolOption& option : kBoolOptions) {
        for (const bool value : {false, true}) {
            SCOPED_TRACE(std::string(option.valueName) + (value ? " on" : " off"));
            sSettings shown;
            shown.*option.setting = value;
            const sOptionsState state = OptionsInitialState(shown);
            EXPECT_EQ(state.Check(option.controlId), value ? kCheckTicked : kCheckUnticked);

            sSettings taken;
            taken.*option.setting = !value;
            CMemorySettingsStore store;
            const sOptionsResult result = ApplyOptionsOk(state, taken, store);
            EXPECT_TRUE(taken == shown);
            EXPECT_EQ(store.ReadInt("Options", option.valueName, -1), value ? 1 : 0);
            EXPECT_FALSE(result.m_bReloadHistory);
            EXPECT_FALSE(result.m_bCreateLog);
        }
    }
}

TEST(OptionTable, EachActionBoxAsksForItsOwnRequestOnly) {
    for (const sActionBox& box : kActionBoxes) {
        SCOPED_TRACE(box.controlId);
        sSettings settings;
        sOptionsState state = OptionsInitialState(settings);
        EXPECT_EQ(state.Check(box.controlId), kCheckUnticked);
        state.SetCheck(box.controlId, kCheckTicked);
        CMemorySettingsStore store;
        const sOptionsResult result = ApplyOptionsOk(state, settings, store);
        for (const sActionBox& other : kActionBoxes) {
            EXPECT_EQ(result.*other.request, other.controlId == box.controlId) << other.controlId;
        }
        EXPECT_TRUE(settings == sSettings{});
    }
}

// Fails for every two entries of `values` that are equal, naming their places.
template <typename T>
void ExpectDistinct(const std::vector<T>& values, const char* what) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        for (std::size_t j = i + 1; j < values.size(); ++j) {
            EXPECT_FALSE(values[i] == values[j]) << what << " of entries " << i << " and " << j;
        }
    }
}

TEST(OptionTable, NoTwoOptionsShareAValueNameControlOrMember) {
    std::vector<std::string_view> names{kWeeksOption.valueName};
    std::vector<int> controls(kCheckBoxIds.begin(), kCheckBoxIds.end());
    controls.push_back(kWeeksOption.controlId);
    std::vector<bool sSettings::*> settings;
    for (const sBoolOption& option : kBoolOptions) {
        names.emplace_back(option.valueName);
        settings.push_back(option.setting);
    }
    std::vector<bool sOptionsResult::*> requests;
    for (const sActionBox& box : kActionBoxes) {
        requests.push_back(box.request);
    }
    ExpectDistinct(names, "value name");
    ExpectDistinct(controls, "control id");
    ExpectDistinct(settings, "settings member");
    ExpectDistinct(requests, "request");
}

TEST(OptionTable, DialogStateTakesNothingForAControlThatIsNoCheckBox) {
    sOptionsState state;
    for (const int id : {kWeeksOption.controlId, 0, -1}) {
        state.SetCheck(id, kCheckTicked);
        EXPECT_EQ(state.Check(id), kCheckUnticked) << id;
    }
    for (const int id : kCheckBoxIds) {
        EXPECT_EQ(state.Check(id), kCheckUnticked) << id;
    }
}

}  // namespace
