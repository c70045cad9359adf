// What stands at the cache file's name before anything is written over it or moved away, and
// the setting aside of a cache file that failed its checks, so that nothing of the user's is
// destroyed: a file named as the cache by mistake is recognised, and a damaged cache is kept
// beside it rather than deleted.
#pragma once

#include <optional>
#include <string>
#include <system_error>

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

// The file a new cache is written to before it is renamed into place: "<name>.tmp", unless
// something of somebody else's stands there (anything but nothing, an empty file or a cache of
// ours left by an interrupted save), then "<name>.1.tmp" .. "<name>.9.tmp" by the same rule.
// Nothing when all ten are taken; what stands there is never changed.
[[nodiscard]] std::optional<std::string> CacheTempName(const std::string& fileName);

// Where a rejected cache file is kept: "<name>.rejected".
[[nodiscard]] std::string RejectedCacheName(const std::string& fileName);

// Moves a cache file that failed its checks to RejectedCacheName(fileName), replacing an older
// file there but never a folder or anything else that is not a regular file. False with the
// reason in `error` when it could not be moved; the file then stays where it was.
bool SetAsideRejectedCache(const std::string& fileName, std::error_code& error);
