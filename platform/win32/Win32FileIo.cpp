#include <windows.h>

#include <algorithm>

#include "platform/FileIo.h"
#include "platform/win32/Utf16.h"

namespace {

HANDLE AsHandle(intptr_t handle) noexcept {
    return reinterpret_cast<HANDLE>(handle);  // NOLINT(performance-no-int-to-ptr)
}

}  // namespace

std::FILE* OpenFileUtf8(const std::string& path, const char* mode) {
    if (path.empty()) {
        return nullptr;
    }
    return _wfopen(WideFromUtf8(path).c_str(), WideFromUtf8(mode).c_str());
}

CExclusiveReadFile::CExclusiveReadFile(const std::string& path) {
    if (path.empty()) {
        return;
    }
    // No sharing while the file is read: the client may be appending to it.
    const HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    m_handle = reinterpret_cast<intptr_t>(file);
}

CExclusiveReadFile::~CExclusiveReadFile() {
    if (IsOpen()) {
        CloseHandle(AsHandle(m_handle));
    }
}

int64_t CExclusiveReadFile::Size() const {
    LARGE_INTEGER size{};
    if (!IsOpen() || GetFileSizeEx(AsHandle(m_handle), &size) == FALSE) {
        return -1;
    }
    return size.QuadPart;
}

sFileIdentity CExclusiveReadFile::Identity() const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!IsOpen() || GetFileInformationByHandle(AsHandle(m_handle), &info) == FALSE) {
        return {};
    }
    return {info.dwVolumeSerialNumber,
            (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool CExclusiveReadFile::ReadAt(uint64_t offset, void* out, size_t size) const {
    constexpr size_t kMaxChunk = size_t{1} << 30;
    auto* bytes = static_cast<char*>(out);
    while (size > 0 && IsOpen()) {
        // The offset rides in the OVERLAPPED record: no separate seek call.
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const auto chunk = static_cast<DWORD>(std::min(size, kMaxChunk));
        DWORD got = 0;
        if (ReadFile(AsHandle(m_handle), bytes, chunk, &got, &at) == FALSE || got == 0) {
            return false;
        }
        bytes += got;
        offset += got;
        size -= got;
    }
    return size == 0;
}
