#include "ProcessResources.h"

#include <psapi.h>
#include <winternl.h>

#include <memory>
#include <vector>

namespace {

// The parts of the GDI handle table the system keeps in every process's memory, as both
// Windows and Wine lay it out on x64: 24-byte entries, a non-zero type marking a live one.
constexpr size_t kGdiTableOffsetInPeb = 0xF8;
constexpr size_t kGdiEntries = 0x10000;
struct sGdiHandleEntry {
    uint64_t m_object;
    uint16_t m_processId;
    uint16_t m_count;
    uint16_t m_unique;
    uint8_t m_type;
    uint8_t m_flags;
    uint64_t m_user;
};
static_assert(sizeof(sGdiHandleEntry) == 24);

struct sHandleCloser {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using UniqueProcess = std::unique_ptr<void, sHandleCloser>;

bool ReadRemote(HANDLE process, uint64_t address, void* out, size_t size) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, reinterpret_cast<LPCVOID>(address), out, size, &read) &&
           read == size;
}

std::optional<uint32_t> CountGdiHandles(HANDLE process, DWORD processId) {
    using QueryFn = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr ||
        query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
        return std::nullopt;
    }
    uint64_t table = 0;
    if (!ReadRemote(process,
                    reinterpret_cast<uint64_t>(basic.PebBaseAddress) + kGdiTableOffsetInPeb, &table,
                    sizeof table) ||
        table == 0) {
        return std::nullopt;
    }
    std::vector<sGdiHandleEntry> entries(kGdiEntries);
    if (!ReadRemote(process, table, entries.data(), entries.size() * sizeof(sGdiHandleEntry))) {
        return std::nullopt;
    }
    // Windows shares one table among all processes and marks each entry with its owner; Wine
    // gives every process a table of its own and leaves the owner empty.
    uint32_t owned = 0;
    uint32_t live = 0;
    for (const sGdiHandleEntry& entry : entries) {
        if (entry.m_type != 0) {
            ++live;
            owned += entry.m_processId == static_cast<uint16_t>(processId) ? 1 : 0;
        }
    }
    return owned != 0 ? owned : live;
}

struct sWindowCount {
    DWORD m_processId;
    uint32_t m_count;
};

BOOL CALLBACK CountChild(HWND /*window*/, LPARAM param) {
    ++reinterpret_cast<sWindowCount*>(param)->m_count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
    auto* count = reinterpret_cast<sWindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == count->m_processId) {
        ++count->m_count;
        EnumChildWindows(window, &CountChild, param);
    }
    return TRUE;
}

}  // namespace

std::optional<sProcessResources> ReadProcessResources(DWORD processId) {
    const UniqueProcess process{
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId)};
    if (!process) {
        return std::nullopt;
    }
    sProcessResources out;
    out.m_guiResourcesGdi = GetGuiResources(process.get(), GR_GDIOBJECTS);
    out.m_guiResourcesUser = GetGuiResources(process.get(), GR_USEROBJECTS);
    out.m_gdiHandles = CountGdiHandles(process.get(), processId);
    sWindowCount windows{processId, 0};
    EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    out.m_windows = windows.m_count;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (K32GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                sizeof memory)) {
        out.m_workingSetBytes = memory.WorkingSetSize;
        out.m_privateBytes = memory.PrivateUsage;
    }
    return out;
}
