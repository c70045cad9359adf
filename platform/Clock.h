// Wall-clock time and waiting, so that what depends on the time of day runs in tests on a clock
// they set.
#pragma once

#include <cstdint>

// Wall-clock time and waiting.
class IImportClock {
public:
    virtual ~IImportClock() = default;
    // Seconds since 1970-01-01 00:00 UTC.
    virtual int64_t Now() = 0;
    virtual void Sleep(int milliseconds) = 0;
};
