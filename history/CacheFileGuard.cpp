#include "history/CacheFileGuard.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "history/CacheLayout.h"
#include "platform/FileIo.h"
#include "platform/Utf8Path.h"

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

std::error_code LastError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

}  // namespace

sCacheFileCheck CheckCacheFile(const std::string& fileName) {
    sCacheFileCheck check;
    std::error_code ec;
    const fs::file_status status = fs::status(PathFromUtf8(fileName), ec);
    if (!fs::exists(status)) {
        // A status that cannot be read at all (a folder on the way that may not be listed)
        // is no proof that nothing is there.
        if (ec && ec != std::errc::no_such_file_or_directory) {
            check.kind = eCacheFileKind::Unreadable;
            check.error = ec;
        }
        return check;
    }
    if (fs::is_directory(status)) {
        check.kind = eCacheFileKind::Folder;
        return check;
    }
    if (!fs::is_regular_file(status)) {
        check.kind = eCacheFileKind::Other;
        return check;
    }
    errno = 0;
    const std::unique_ptr<std::FILE, FileCloser> file(OpenFileUtf8(fileName, "rb"));
    if (!file) {
        check.kind = eCacheFileKind::Unreadable;
        check.error = LastError();
        return check;
    }
    const std::string_view firstLine = cache_layout::kMagic;
    std::array<char, 64> head{};
    const size_t read = std::fread(head.data(), 1, firstLine.size(), file.get());
    if (read == 0) {
        check.kind =
            std::ferror(file.get()) != 0 ? eCacheFileKind::Unreadable : eCacheFileKind::Empty;
        check.error = std::ferror(file.get()) != 0 ? LastError() : std::error_code();
        return check;
    }
    check.kind = std::memcmp(head.data(), firstLine.data(), read) == 0 ? eCacheFileKind::Cache
                                                                       : eCacheFileKind::NotCache;
    return check;
}

std::optional<std::string> CacheTempName(const std::string& fileName) {
    constexpr int kAlternatives = 9;
    for (int n = 0; n <= kAlternatives; ++n) {
        std::string name = fileName + (n == 0 ? "" : "." + std::to_string(n)) + ".tmp";
        const eCacheFileKind kind = CheckCacheFile(name).kind;
        if (kind == eCacheFileKind::Missing || kind == eCacheFileKind::Empty ||
            kind == eCacheFileKind::Cache) {
            return name;
        }
    }
    return std::nullopt;
}

std::string RejectedCacheName(const std::string& fileName) {
    return fileName + ".rejected";
}

bool SetAsideRejectedCache(const std::string& fileName, std::error_code& error) {
    error.clear();
    const std::string rejected = RejectedCacheName(fileName);
    // Only an older rejected file is replaced (by the rename itself); a folder or anything
    // else of that name is somebody's.
    const fs::file_status there = fs::symlink_status(PathFromUtf8(rejected), error);
    if (fs::exists(there) && !fs::is_regular_file(there)) {
        error = std::make_error_code(std::errc::file_exists);
        return false;
    }
    error.clear();
    fs::rename(PathFromUtf8(fileName), PathFromUtf8(rejected), error);
    return !error;
}
