// Small helpers shared by the native tests: temporary folders, whole-file I/O, the shared
// hand history samples.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace testing_support {

// A fresh, empty folder under the system's temporary directory, removed with its content.
class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;
    [[nodiscard]] const std::filesystem::path& Path() const { return m_path; }
    [[nodiscard]] std::string File(std::string_view name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Keeps a file from being opened for reading while it lives, as another program holding it
// open without sharing does: on Windows it is exactly that; elsewhere, where nothing can deny
// other readers, the file is moved aside and a link to nowhere left in its place.
class ScopedUnreadableFile {
public:
    explicit ScopedUnreadableFile(std::string path);
    ~ScopedUnreadableFile() { Release(); }
    ScopedUnreadableFile(const ScopedUnreadableFile&) = delete;
    ScopedUnreadableFile& operator=(const ScopedUnreadableFile&) = delete;
    // Makes the file readable again (before the end of the scope).
    void Release();

private:
    std::string m_path;
    void* m_handle = nullptr;  // the open file (Windows)
    bool m_held = false;
};

// Readable bytes with memory that may not be touched on both sides: a read even one byte before
// Begin() or at End() faults at once, where spare bytes of an ordinary allocation would be read
// unnoticed (the sanitizers see no fault inside an allocation). Holds at least `size` bytes.
class GuardedBytes {
public:
    explicit GuardedBytes(size_t size);
    ~GuardedBytes();
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    [[nodiscard]] char* Begin() const { return m_begin; }
    [[nodiscard]] char* End() const { return m_end; }
    // `bytes` copied to end exactly at End(); their first byte.
    char* PutAtEnd(std::string_view bytes) const { return Put(bytes, true); }
    // `bytes` copied to begin exactly at Begin().
    char* PutAtBegin(std::string_view bytes) const { return Put(bytes, false); }

private:
    char* Put(std::string_view bytes, bool atEnd) const;

    char* m_mapping = nullptr;  // the guard before, the readable pages, the guard after
    size_t m_mappingSize = 0;
    char* m_begin = nullptr;
    char* m_end = nullptr;
};

void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);

// The folder of real client hand history samples, when it is present on this machine.
std::optional<std::filesystem::path> SamplesDir();

}  // namespace testing_support
