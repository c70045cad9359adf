// Opening files by UTF-8 path on every system (the Windows build opens them with the UTF-16
// calls, so that any name works).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// std::fopen for a UTF-8 path; nullptr when the file cannot be opened.
[[nodiscard]] std::FILE* OpenFileUtf8(const std::string& path, const char* mode);

// What tells two versions of a file apart beyond their bytes: the volume and the file's number on
// it (device and inode; on Windows the volume serial number and the file index). A file deleted
// and written again, or another file moved into its place, gets another one. Zero where the
// system tells nothing.
struct sFileIdentity {
    uint64_t volume = 0;
    uint64_t file = 0;
    bool operator==(const sFileIdentity&) const = default;
};

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
    // The open file's identity; zeros when it cannot be told.
    [[nodiscard]] sFileIdentity Identity() const;
    // Reads exactly `size` bytes starting at `offset`; false when fewer could be read.
    bool ReadAt(uint64_t offset, void* out, size_t size) const;

private:
    static constexpr intptr_t kClosed = -1;
    intptr_t m_handle = kClosed;  // a HANDLE on Windows, a file descriptor elsewhere
};
