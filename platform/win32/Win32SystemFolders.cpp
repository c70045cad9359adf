#include "platform/win32/Win32SystemFolders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "platform/win32/ScopedWin.h"
#include "platform/win32/Utf16.h"

namespace {

// The longest path the wide calls take; anything longer names no folder.
constexpr size_t kMaxPathChars = 32767;

// The environment variable the system sets to the same folder, for a system whose shell does not
// know the folder.
std::optional<std::string> FromEnvironment() {
    wchar_t value[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableW(L"ProgramFiles(x86)", value, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH) {
        return std::nullopt;
    }
    return Utf8FromWide(std::wstring_view(value, length));
}

}  // namespace

std::optional<std::string> CWin32SystemFolders::ProgramFilesX86() {
    PWSTR path = nullptr;
    std::optional<std::string> folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramFilesX86, 0, nullptr, &path)) &&
        path != nullptr && path[0] != L'\0') {
        folder = Utf8FromWide(path);
    }
    CoTaskMemFree(path);  // also when the call failed, as its contract asks
    return folder ? folder : FromEnvironment();
}

bool CWin32SystemFolders::IsReadableFolder(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::wstring wide = WideFromUtf8(path);
    if (wide.size() > kMaxPathChars) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    if (wide.back() != L'\\' && wide.back() != L'/') {
        wide += L'\\';
    }
    wide += L'*';
    WIN32_FIND_DATAW found{};
    const CScopedFind find(
        FindFirstFileExW(wide.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    // An empty drive's root lists nothing at all, which is still a folder that can be read.
    return static_cast<bool>(find) || GetLastError() == ERROR_FILE_NOT_FOUND;
}
