// What stands at the cache file's name before anything is written over it or moved away, and
// the setting aside of a cache file that failed its checks, so that nothing of the user's is
// destroyed: a file named as the cache by mistake is recognised, and a damaged cache is kept
// beside it rather than deleted.
#pragma once

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "platform/DurableFiles.h"

enum class eCacheFileKind {
    Missing,     // nothing there
    Empty,       // an empty file: it holds nothing, so it counts as no cache
    Cache,       // a file that begins as a cache file of ours does (it may still be damaged)
    NotCache,    // a file with other content, for example a hand history file
    Folder,      // a folder
    Other,       // something else that is not a regular file (device, pipe)
    Unreadable,  // a file that cannot be opened for reading
};

struct sCacheFileCheck {
    eCacheFileKind kind = eCacheFileKind::Missing;
    std::error_code error;  // why, for Unreadable
};

// Looks at the file's type and its first bytes; never changes anything. A file counts as ours
// when it begins with the cache file's first line, or with a part of it when it is shorter.
[[nodiscard]] sCacheFileCheck CheckCacheFile(const std::string& fileName);

// The temporary file a new cache is written to before it is renamed into place, created where
// nothing stood: "<name>.tmp", or "<name>.1.tmp" .. "<name>.9.tmp" when that name is taken. A
// leftover of an interrupted save there (an empty file, or one that begins as a cache of ours)
// is removed first unless another process holds it: a save running elsewhere at this moment
// keeps its file and this one takes the next name. Anything else of that name is somebody
// else's and never touched.
struct sCacheTemp {
    std::string name;
    std::unique_ptr<IFileWriter> file;
};
// Nothing, with the reason in `error`, when no name could be had.
[[nodiscard]] std::optional<sCacheTemp> CreateCacheTemp(const std::string& fileName,
                                                        IDurableFiles& files,
                                                        std::error_code& error);

// The name a rejected cache file is kept under: "<name>.rejected-YYYYMMDD-HHMMSS" from `time`
// (seconds since 1970-01-01 UTC, shown in local time), with "-2", "-3", ... for the `attempt`
// after the first.
[[nodiscard]] std::string RejectedCacheName(const std::string& fileName, int64_t time, int attempt);

// Moves a cache file that failed its checks to the first RejectedCacheName that nothing stands
// at yet, and returns that name. Nothing is ever replaced. Nothing, with the reason in `error`,
// when it could not be moved; the file then stays where it was.
std::optional<std::string> SetAsideRejectedCache(
    const std::string& fileName, std::error_code& error,
    IDurableFiles& files = SystemDurableFiles(),
    int64_t now = static_cast<int64_t>(std::time(nullptr)));
