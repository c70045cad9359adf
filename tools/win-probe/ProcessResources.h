// What another process holds of the system's objects and memory, for the soak test: the GDI and
// USER counts the system reports (GetGuiResources), the GDI handles counted in the process's own
// handle table, its windows, and its memory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

struct sProcessResources {
    DWORD m_guiResourcesGdi = 0;   // GetGuiResources(GR_GDIOBJECTS): 0 under Wine, which
    DWORD m_guiResourcesUser = 0;  // does not count them
    // Live entries of the GDI handle table the system maps into the process (its PEB's
    // GdiSharedHandleTable): every pen, brush, font, bitmap and DC it holds. Empty when the
    // table cannot be read.
    std::optional<uint32_t> m_gdiHandles;
    uint32_t m_windows = 0;  // its windows, top-level and child, hidden ones included
    uint64_t m_workingSetBytes = 0;
    uint64_t m_privateBytes = 0;
};

// Null when the process cannot be opened for querying and reading.
std::optional<sProcessResources> ReadProcessResources(DWORD processId);
