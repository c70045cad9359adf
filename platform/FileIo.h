// Opening files by UTF-8 path on every system (the Windows build opens them with the UTF-16
// calls, so that any name works).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// std::fopen for a UTF-8 path; nullptr when the file cannot be opened.
[[nodiscard]] std::FILE* OpenFileUtf8(const std::string& path, const char* mode);

// A file opened for reading with other readers and writers shut out where the platform allows
// it (Windows: no sharing, as the client may be appending to the file). One open, one size
// query and one read per request, so reading many small files costs as few system calls as it
// can.
class CExclusiveReadFile {
public:
    explicit CExclusiveReadFile(const std::string& path);
    ~CExclusiveReadFile();
    CExclusiveReadFile(const CExclusiveReadFile&) = delete;
    CExclusiveReadFile& operator=(const CExclusiveReadFile&) = delete;

    [[nodiscard]] bool IsOpen() const noexcept { return m_handle != kClosed; }
    // The file's length in bytes, or -1 when it cannot be read.
    [[nodiscard]] int64_t Size() const;
    // Reads exactly `size` bytes starting at `offset`; false when fewer could be read.
    bool ReadAt(uint64_t offset, void* out, size_t size) const;

private:
    static constexpr intptr_t kClosed = -1;
    intptr_t m_handle = kClosed;  // a HANDLE on Windows, a file descriptor elsewhere
};
