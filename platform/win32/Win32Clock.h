// Wall-clock time and waiting for the import cycle.
#pragma once

#include <windows.h>

#include <ctime>

#include "platform/Clock.h"

class CWin32Clock final : public IImportClock {
public:
    int64_t Now() override { return static_cast<int64_t>(std::time(nullptr)); }
    void Sleep(int milliseconds) override { ::Sleep(static_cast<DWORD>(milliseconds)); }
};
