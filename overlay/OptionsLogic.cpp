#include "overlay/OptionsLogic.h"

#include <charconv>
#include <climits>
#include <optional>
#include <utility>

namespace {

eCheckState ToCheck(bool ticked) {
    return ticked ? kCheckTicked : kCheckUnticked;
}

bool IsTicked(eCheckState check) {
    return check == kCheckTicked;
}

// The blanks the C library's isspace accepts in the "C" locale.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decimal conversion like strtol, saturating at the int range instead of overflowing.
int ParseDecimal(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // One past INT_MAX covers INT_MIN; once the magnitude is beyond it, more digits change nothing.
    constexpr int64_t kLimit = int64_t{INT_MAX} + 1;
    int64_t magnitude = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        if (magnitude <= kLimit) {
            magnitude = magnitude * 10 + (text[pos] - '0');
        }
    }
    if (negative) {
        return magnitude >= kLimit ? INT_MIN : static_cast<int>(-magnitude);
    }
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

}  // namespace

sOptionsState OptionsInitialState(const sSettings& settings) {
    sOptionsState state;  // the action boxes stay unticked
    for (const sBoolOption& option : kBoolOptions) {
        state.SetCheck(option.controlId, ToCheck(settings.*option.setting));
    }

    char digits[16];
    const auto formatted =
        std::to_chars(digits, digits + sizeof digits, settings.OldestStatsInWeeks);
    state.m_strWeeks.assign(digits, formatted.ptr);
    state.m_strHistoryFolder = settings.HistoryFolder;
    return state;
}

int ParseWeeksText(std::string_view text) {
    return ClampWeeks(ParseDecimal(text));
}

sOptionsResult ApplyOptionsOk(const sOptionsState& state, sSettings& settings,
                              ISettingsStore& store) {
    for (const sBoolOption& option : kBoolOptions) {
        settings.*option.setting = IsTicked(state.Check(option.controlId));
    }

    const int previousWeeks = settings.OldestStatsInWeeks;
    settings.OldestStatsInWeeks = ParseWeeksText(state.m_strWeeks);

    WriteAllSettings(store, settings);

    sOptionsResult result;
    for (const sActionBox& box : kActionBoxes) {
        result.*box.request = state.Check(box.controlId) != kCheckUnticked;
    }
    if (settings.OldestStatsInWeeks != previousWeeks) {
        result.m_bReloadHistory = true;
    }
    if (state.m_strHistoryFolder != settings.HistoryFolder) {
        settings.HistoryFolder = state.m_strHistoryFolder;
        WriteHistoryFolder(store, settings.HistoryFolder);
        result.m_bReloadHistory = true;
    }
    return result;
}

bool BrowseForHistoryFolder(std::string& chosenFolder, IFolderPicker& picker,
                            const std::string& shownFolder) {
    std::optional<std::string> picked = picker.PickFolder(shownFolder);
    if (!picked || picked->empty() || *picked == chosenFolder) {
        return false;
    }
    chosenFolder = std::move(*picked);
    return true;
}
