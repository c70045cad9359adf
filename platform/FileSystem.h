// The file system as the history folder scan sees it: directory listings and last-write times.
// Paths and names are UTF-8. The real implementation sits on std::filesystem, on Windows on the
// UTF-16 directory calls; tests use an in-memory fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct sDirEntry {
    std::string m_strName;  // name within the directory, no path
    bool m_bDirectory = false;
    // The last-write time as LastWriteTime gives it, when the listing already carried it (the
    // Windows listing does), so the scan need not ask for every file again.
    std::optional<int64_t> m_tLastWrite;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // Entries of a directory in the order the file system yields them (without "." and "..");
    // empty when the directory is missing or unreadable.
    virtual std::vector<sDirEntry> ListDirectory(const std::string& dir) = 0;
    // Last-write time in seconds since 1970-01-01 00:00 UTC, or nothing when it cannot be read.
    virtual std::optional<int64_t> LastWriteTime(const std::string& path) = 0;
};

// The path separator of the platform the program runs on.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The machine's real file system (std::filesystem; FindFirstFileExW and GetFileAttributesExW on
// Windows).
class CStdFileSystem final : public IFileSystem {
public:
    std::vector<sDirEntry> ListDirectory(const std::string& dir) override;
    std::optional<int64_t> LastWriteTime(const std::string& path) override;
};
