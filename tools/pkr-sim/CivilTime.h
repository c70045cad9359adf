// Calendar arithmetic for the hand start times: dates as YYYYMMDD, times as seconds since
// 1970-01-01 UTC, and the client's "01 Sep 2010 14:22:36" wording.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pkrsim {

// Seconds at 00:00:00 of a date written "YYYYMMDD"; nothing when the text is not a valid date.
std::optional<int64_t> ParseDate(std::string_view text);
// Today's date (UTC) as "YYYYMMDD".
std::string TodayDate();
// Appends e.g. "01 Sep 2010 14:22:36".
void AppendHandTime(std::string& out, int64_t seconds);

}  // namespace pkrsim
