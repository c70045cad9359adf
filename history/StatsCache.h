// The statistics cache file: the whole store between runs, in a fixed little-endian layout that
// every build reads and writes alike.
#pragma once

#include <string>
#include <system_error>

#include "history/CachePathCodec.h"
#include "platform/DurableFiles.h"

class CStatsStore;

inline constexpr const char* kCacheFileName = "LanternquillCache_Trial.dat";

enum class eCacheLoad {
    Loaded,      // the store holds the file's content
    NotOpened,   // no file, or a folder or other non-file there: nothing changed
    Unreadable,  // a file is there but could not be read whole (open, size or read failed):
                 // it is left where it is and the store is empty
    Rejected,    // read whole and malformed: the store was emptied and the file set aside
};

struct sCacheLoadOutcome {
    eCacheLoad result = eCacheLoad::NotOpened;
    // Unreadable: the system's reason. Rejected: why it could not be set aside (clear when it
    // was, or when it was to stay).
    std::error_code error;
    std::string setAsideAs;  // Rejected: the name the file was moved to; empty when it stayed
};

// Writes the whole store to a new temporary file next to `fileName` (a UTF-8 path, as every path
// here; the temporary file is CreateCacheTemp's, never a file of somebody else's or of another
// save running at the same moment), puts it on stable storage and only then renames it into
// place, so a failed save, a crash or a power cut leaves the previous file intact; a folder at
// `fileName` is never replaced. Names longer than 24 bytes are cut to their first 24 bytes (a
// 24-byte name fills its field without a terminating NUL); file-cache paths are stored as `paths`
// encodes them, and entries that it cannot encode or whose stored form is longer than 256 bytes
// are left out. Returns false when nothing was replaced, with the reason in `error` (the system's
// error: permission, disk full, a failed flush, ...).
bool SaveStatsCache(const CStatsStore& store, const std::string& fileName, std::error_code& error,
                    const ICachePathCodec& paths = SystemCachePathCodec(),
                    IDurableFiles& files = SystemDurableFiles());
inline bool SaveStatsCache(const CStatsStore& store, const std::string& fileName,
                           const ICachePathCodec& paths = SystemCachePathCodec()) {
    std::error_code ignored;
    return SaveStatsCache(store, fileName, ignored, paths);
}

// Loads `fileName` into an empty store. A folder or anything else that is not a regular file
// counts as not opened and is left alone. A file that cannot be read whole (an I/O error, a
// drive gone, a file another program holds) is Unreadable and left as it is: it may be a good
// cache that must not be written over. A file read whole that does not match the layout exactly
// (including declared counts that the file's size cannot hold) is rejected: the store is emptied
// and the file moved to a name of its own (SetAsideRejectedCache), where it can still be looked
// at; with `setAsideIfRejected` false (tools that only read) it stays where it is. File-cache
// paths are decoded by `paths`.
sCacheLoadOutcome LoadStatsCacheFile(CStatsStore& store, const std::string& fileName,
                                     bool setAsideIfRejected = true,
                                     const ICachePathCodec& paths = SystemCachePathCodec(),
                                     IDurableFiles& files = SystemDurableFiles());
// The result of LoadStatsCacheFile alone.
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
