// The local calendar time of a moment, through the C library's thread-safe call of each system.
#pragma once

#include <ctime>

// `moment` broken down in the local time zone; all zeros when the C library cannot convert it.
[[nodiscard]] inline std::tm LocalCalendarTime(std::time_t moment) noexcept {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &moment);
#else
    localtime_r(&moment, &local);
#endif
    return local;
}
