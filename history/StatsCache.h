// The statistics cache file: the whole store between runs, in a fixed little-endian layout that
// every build reads and writes alike.
#pragma once

#include <string>

#include "history/CachePathCodec.h"

class CStatsStore;

inline constexpr const char* kCacheFileName = "LanternquillCache_Trial.dat";

enum class eCacheLoad {
    Loaded,     // the store holds the file's content
    NotOpened,  // no file, or it could not be opened: nothing changed
    Rejected,   // malformed: the store was emptied and the file deleted
};

// Writes the whole store to a temporary file next to `fileName` (a UTF-8 path, as every path
// here) and then puts it in place, so a failed save leaves the previous file intact. Names longer
// than 24 bytes are cut to their first 24 bytes (a 24-byte name fills its field without a
// terminating NUL); file-cache paths are stored as `paths` encodes them, and entries that it
// cannot encode or whose stored form is longer than 256 bytes are left out. Returns false when
// nothing was replaced.
bool SaveStatsCache(const CStatsStore& store, const std::string& fileName,
                    const ICachePathCodec& paths = SystemCachePathCodec());

// Loads `fileName` into an empty store. A file that does not match the layout exactly (including
// declared counts that the file's size cannot hold) is rejected: the store is emptied and the
// file deleted (kept when `deleteIfRejected` is false, for diagnosis tools).
// File-cache paths are decoded by `paths`.
eCacheLoad LoadStatsCacheEx(CStatsStore& store, const std::string& fileName,
                            bool deleteIfRejected = true,
                            const ICachePathCodec& paths = SystemCachePathCodec());
inline bool LoadStatsCache(CStatsStore& store, const std::string& fileName) {
    return LoadStatsCacheEx(store, fileName) == eCacheLoad::Loaded;
}

// Loads a cache image held in memory (the file loader and the fuzzer share it). False when the
// image is malformed; the store is then empty.
bool LoadStatsCacheImage(CStatsStore& store, const unsigned char* data, size_t size,
                         const ICachePathCodec& paths = SystemCachePathCodec());
