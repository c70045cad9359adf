// The history folder scan's file system on Windows: UTF-16 calls, so every name is found, and one
// enumeration per folder that brings each entry's kind and last-write time along.
#include <windows.h>

#include "platform/FileSystem.h"
#include "platform/win32/ScopedWin.h"
#include "platform/win32/Utf16.h"

namespace {

// FILETIME counts 100 ns ticks since 1601-01-01 UTC; whole seconds since 1970, rounded down.
int64_t SecondsSince1970(const FILETIME& time) noexcept {
    constexpr int64_t kTicksPerSecond = 10000000;
    constexpr int64_t kTicksFrom1601To1970 = 116444736000000000;
    const uint64_t ticks = (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    const int64_t sinceEpoch = static_cast<int64_t>(ticks) - kTicksFrom1601To1970;
    const int64_t seconds = sinceEpoch / kTicksPerSecond;
    return (sinceEpoch % kTicksPerSecond < 0) ? seconds - 1 : seconds;
}

bool IsDotEntry(const wchar_t* name) noexcept {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

}  // namespace

std::vector<sDirEntry> CStdFileSystem::ListDirectory(const std::string& dir) {
    std::vector<sDirEntry> entries;
    if (dir.empty()) {
        return entries;
    }
    std::wstring pattern = WideFromUtf8(dir);
    if (pattern.back() != L'\\' && pattern.back() != L'/') {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    // Without the short 8.3 names, and in large batches: the cheapest listing Windows offers.
    const CScopedFind find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                            FindExSearchNameMatch, nullptr,
                                            FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return entries;
    }
    do {
        if (IsDotEntry(found.cFileName)) {
            continue;
        }
        sDirEntry entry;
        entry.m_strName = Utf8FromWide(found.cFileName);
        entry.m_bDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.m_tLastWrite = SecondsSince1970(found.ftLastWriteTime);
        entries.push_back(std::move(entry));
    } while (FindNextFileW(find.Get(), &found) != FALSE);
    return entries;
}

std::optional<int64_t> CStdFileSystem::LastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() ||
        GetFileAttributesExW(WideFromUtf8(path).c_str(), GetFileExInfoStandard, &data) == FALSE) {
        return std::nullopt;
    }
    return SecondsSince1970(data.ftLastWriteTime);
}
