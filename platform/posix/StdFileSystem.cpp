#include <chrono>
#include <filesystem>
#include <system_error>

#include "platform/FileSystem.h"

namespace fs = std::filesystem;

std::vector<sDirEntry> CStdFileSystem::ListDirectory(const std::string& dir) {
    std::vector<sDirEntry> entries;
    std::error_code ec;
    fs::directory_iterator it(fs::path(dir), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        try {
            sDirEntry entry;
            entry.m_strName = it->path().filename().string();
            std::error_code typeEc;
            entry.m_bDirectory = it->is_directory(typeEc);
            entries.push_back(std::move(entry));
        } catch (const std::exception&) {
            // A name that the narrow character set cannot hold is passed over.
        }
    }
    return entries;
}

std::optional<int64_t> CStdFileSystem::LastWriteTime(const std::string& path) {
    std::error_code ec;
    const auto fileTime = fs::last_write_time(fs::path(path), ec);
    if (ec) {
        return std::nullopt;
    }
    const auto systemTime = std::chrono::file_clock::to_sys(fileTime);
    return std::chrono::floor<std::chrono::seconds>(systemTime).time_since_epoch().count();
}
