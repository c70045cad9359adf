#include "history/ImportState.h"

#include <ctime>

int64_t InitialHistoryCutoff() {
    std::tm local{};
    local.tm_year = 2000 - 1900;
    local.tm_mon = 6;  // July
    local.tm_mday = 1;
    local.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&local));
}
