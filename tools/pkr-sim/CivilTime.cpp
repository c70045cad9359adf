#include "CivilTime.h"

#include <charconv>
#include <chrono>

namespace pkrsim {

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days since 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct sCivilDate {
    int64_t year = 0;
    unsigned month = 0;  // 1..12
    unsigned day = 0;    // 1..31
};

sCivilDate CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    sCivilDate date;
    date.day = doy - (153 * mp + 2) / 5 + 1;
    date.month = mp < 10 ? mp + 3 : mp - 9;
    date.year = static_cast<int64_t>(yoe) + era * 400 + (date.month <= 2 ? 1 : 0);
    return date;
}

void AppendTwoDigits(std::string& out, unsigned value) {
    out += static_cast<char>('0' + value / 10 % 10);
    out += static_cast<char>('0' + value % 10);
}

}  // namespace

std::optional<int64_t> ParseDate(std::string_view text) {
    if (text.size() != 8) {
        return std::nullopt;
    }
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    const int64_t year = value / 10000;
    const unsigned month = value / 100 % 100;
    const unsigned day = value % 100;
    if (year < 1970 || month < 1 || month > 12 || day < 1) {
        return std::nullopt;
    }
    // The day must exist: the day after it must fall in the next month (or be the 1st).
    const int64_t days = DaysFromCivil(year, month, day);
    const sCivilDate back = CivilFromDays(days);
    if (back.year != year || back.month != month || back.day != day) {
        return std::nullopt;
    }
    return days * kSecondsPerDay;
}

std::string TodayDate() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const int64_t days =
        std::chrono::duration_cast<std::chrono::seconds>(now).count() / kSecondsPerDay;
    const sCivilDate date = CivilFromDays(days);
    std::string text = std::to_string(date.year);
    AppendTwoDigits(text, date.month);
    AppendTwoDigits(text, date.day);
    return text;
}

void AppendHandTime(std::string& out, int64_t seconds) {
    const int64_t days = seconds / kSecondsPerDay;
    const auto secondOfDay = static_cast<unsigned>(seconds % kSecondsPerDay);
    const sCivilDate date = CivilFromDays(days);
    AppendTwoDigits(out, date.day);
    out += ' ';
    out += kMonths[date.month - 1];
    out += ' ';
    out += std::to_string(date.year);
    out += ' ';
    AppendTwoDigits(out, secondOfDay / 3600);
    out += ':';
    AppendTwoDigits(out, secondOfDay / 60 % 60);
    out += ':';
    AppendTwoDigits(out, secondOfDay % 60);
}

}  // namespace pkrsim
