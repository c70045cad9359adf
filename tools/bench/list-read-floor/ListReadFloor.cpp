// list-read-floor FOLDER...: lists every folder below each FOLDER and reads every *.txt file in
// it whole, with the plain wide Win32 calls (one listing per folder, one CreateFileW and ReadFile
// per file, opened without sharing like the program's reads), and prints how many files and
// bytes it read and how long that took. Nothing is parsed.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/ScopedWin.h"

namespace {

struct sTally {
    int64_t files = 0;
    int64_t bytes = 0;
    int64_t failures = 0;
};

struct sFindTraits {
    using Handle = HANDLE;
    static Handle None() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { FindClose(handle); }
};

bool HasTextExtension(const std::wstring& name) {
    return name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".txt") == 0;
}

void ReadWhole(const std::wstring& path, std::vector<char>& buffer, sTally& tally) {
    const CScopedFile file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF) {
        ++tally.failures;
        return;
    }
    const auto length = static_cast<DWORD>(size.QuadPart);
    if (buffer.size() < length) {
        buffer.resize(length);
    }
    DWORD read = 0;
    if (length > 0 &&
        (!ReadFile(file.Get(), buffer.data(), length, &read, nullptr) || read != length)) {
        ++tally.failures;
        return;
    }
    ++tally.files;
    tally.bytes += length;
}

void Walk(const std::wstring& folder, std::vector<char>& buffer, sTally& tally) {
    WIN32_FIND_DATAW entry{};
    const CScopedHandle<sFindTraits> find(
        FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                         nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        return;
    }
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            Walk(folder + L"\\" + name, buffer, tally);
        } else if (HasTextExtension(name)) {
            ReadWhole(folder + L"\\" + name, buffer, tally);
        }
    } while (FindNextFileW(find.Get(), &entry));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("Usage: list-read-floor FOLDER...\n", stderr);
        return 2;
    }
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    sTally tally;
    std::vector<char> buffer;
    for (int i = 1; i < argc; ++i) {
        Walk(argv[i], buffer, tally);
    }
    QueryPerformanceCounter(&end);
    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
    std::printf("Read %lld files, %lld bytes in %.3f s (%lld failed)\n",
                static_cast<long long>(tally.files), static_cast<long long>(tally.bytes), seconds,
                static_cast<long long>(tally.failures));
    return tally.failures == 0 ? 0 : 1;
}
