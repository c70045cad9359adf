// The statistics cache file: the whole store between runs, in a fixed little-endian layout that
// every build reads and writes alike.
#pragma once

#include <string>
#include <system_error>

#include "history/CachePathCodec.h"

class CStatsStore;

inline constexpr const char* kCacheFileName = "LanternquillCache_Trial.dat";

enum class eCacheLoad {
    Loaded,     // the store holds the file's content
    NotOpened,  // no file, or it could not be opened: nothing changed
    Rejected,   // malformed: the store was emptied and the file set aside (see below)
};

// Writes the whole store to a temporary file next to `fileName` (a UTF-8 path, as every path
// here; the temporary name is CacheTempName's, never a file of somebody else's) and then puts it
// in place, so a failed save leaves the previous file intact; a folder at
// `fileName` is never replaced. Names longer than 24 bytes are cut to their first 24 bytes (a
// 24-byte name fills its field without a terminating NUL); file-cache paths are stored as `paths`
// encodes them, and entries that it cannot encode or whose stored form is longer than 256 bytes
// are left out. Returns false when nothing was replaced, with the reason in `error` (the system's
// error: permission, disk full, ...).
bool SaveStatsCache(const CStatsStore& store, const std::string& fileName, std::error_code& error,
                    const ICachePathCodec& paths = SystemCachePathCodec());
inline bool SaveStatsCache(const CStatsStore& store, const std::string& fileName,
                           const ICachePathCodec& paths = SystemCachePathCodec()) {
    std::error_code ignored;
    return SaveStatsCache(store, fileName, ignored, paths);
}

// Loads `fileName` into an empty store. A folder or anything else that is not a regular file
// counts as not opened and is left alone. A file that does not match the layout exactly
// (including declared counts that the file's size cannot hold) is rejected: the store is emptied
// and the file moved to "<name>.rejected" (history/CacheFileGuard.h), where it can still be
// looked at; with `setAsideIfRejected` false (tools that only read) it stays where it is.
// File-cache paths are decoded by `paths`.
eCacheLoad LoadStatsCacheEx(CStatsStore& store, const std::string& fileName,
                            bool setAsideIfRejected = true,
                            const ICachePathCodec& paths = SystemCachePathCodec());
inline bool LoadStatsCache(CStatsStore& store, const std::string& fileName) {
    return LoadStatsCacheEx(store, fileName) == eCacheLoad::Loaded;
}

// Loads a cache image held in memory (the file loader and the fuzzer share it). False when the
// image is malformed; the store is then empty.
bool LoadStatsCacheImage(CStatsStore& store, const unsigned char* data, size_t size,
                         const ICachePathCodec& paths = SystemCachePathCodec());
