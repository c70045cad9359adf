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

void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);

// The folder of real client hand history samples, when it is present on this machine.
std::optional<std::filesystem::path> SamplesDir();

}  // namespace testing_support
