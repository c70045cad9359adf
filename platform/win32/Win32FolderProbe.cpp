#include <windows.h>

#include "platform/FolderProbe.h"
#include "platform/win32/Utf16.h"

namespace {

// The portable error where there is one ("Permission denied" rather than the system's own
// wording), so the program's messages name a reason the same way wherever it comes from.
std::error_code LastError() {
    const std::error_code system(static_cast<int>(GetLastError()), std::system_category());
    const std::error_condition generic = system.default_error_condition();
    if (generic.category() == std::generic_category()) {
        return {generic.value(), std::generic_category()};
    }
    return system;
}

}  // namespace

std::error_code ProbeFolderWritable(const std::string& folder) {
    const unsigned long process = GetCurrentProcessId();
    for (unsigned attempt = 0; attempt < kFolderProbeAttempts; ++attempt) {
        // Deleted by the system when closed, even if this process ends before.
        const HANDLE file = CreateFileW(
            WideFromUtf8(FolderProbePath(folder, process, attempt)).c_str(), GENERIC_WRITE, 0,
            nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS) {
                continue;  // somebody's file: not ours to touch
            }
            return LastError();
        }
        CloseHandle(file);
        return {};
    }
    return std::make_error_code(std::errc::file_exists);
}
