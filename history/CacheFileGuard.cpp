#include "history/CacheFileGuard.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>

#include "history/CacheLayout.h"
#include "platform/FileIo.h"
#include "platform/LocalTime.h"
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

std::optional<sCacheTemp> CreateCacheTemp(const std::string& fileName, IDurableFiles& files,
                                          std::error_code& error) {
    constexpr int kAlternatives = 9;
    for (int n = 0; n <= kAlternatives; ++n) {
        std::string name = fileName + (n == 0 ? "" : "." + std::to_string(n)) + ".tmp";
        error.clear();
        if (auto file = files.CreateNew(name, error)) {
            return sCacheTemp{std::move(name), std::move(file)};
        }
        if (error != std::errc::file_exists) {
            return std::nullopt;  // the folder itself refuses (permission, missing, full)
        }
        const eCacheFileKind kind = CheckCacheFile(name).kind;
        std::error_code ignored;
        if ((kind == eCacheFileKind::Empty || kind == eCacheFileKind::Cache) &&
            files.RemoveIfUnheld(name, ignored)) {
            if (auto file = files.CreateNew(name, error)) {
                return sCacheTemp{std::move(name), std::move(file)};
            }
        }
    }
    error = std::make_error_code(std::errc::file_exists);
    return std::nullopt;
}

std::string RejectedCacheName(const std::string& fileName, int64_t time, int attempt) {
    const std::tm local = LocalCalendarTime(static_cast<std::time_t>(time));
    std::array<char, 32> stamp{};
    std::strftime(stamp.data(), stamp.size(), "%Y%m%d-%H%M%S", &local);
    std::string name = fileName + ".rejected-" + stamp.data();
    if (attempt > 1) {
        name += "-" + std::to_string(attempt);
    }
    return name;
}

std::optional<std::string> SetAsideRejectedCache(const std::string& fileName,
                                                 std::error_code& error, IDurableFiles& files,
                                                 int64_t now) {
    // Enough for any number of rejections within one second.
    constexpr int kAttempts = 100;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        std::string name = RejectedCacheName(fileName, now, attempt);
        error.clear();
        if (files.MoveNoReplace(fileName, name, error)) {
            return name;
        }
        if (error != std::errc::file_exists) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}
