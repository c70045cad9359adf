// Who has a cache file loaded to write it back. The Windows program keeps its cache loaded for
// its whole run and writes the store over the file when it closes, and an import of the
// command-line tool does the same for as long as it runs: whatever one of them added while the
// other had the file loaded would be lost. Each takes the file's lock before it loads the file,
// and holds it until its save is done.
#pragma once

#include <string>
#include <string_view>

#include "platform/NamedLock.h"

// The cache file's full path as the system resolves `fileName` now (relative to the current
// folder), without "." and ".." steps; `fileName` itself when it cannot be resolved.
[[nodiscard]] std::string AbsoluteCachePath(const std::string& fileName);

// The folder a cache file's full path lies in (empty for a bare name).
[[nodiscard]] std::string CacheFolderOf(const std::string& fullPath);

// The lock's name for a cache file's full path (Windows rules): the same for every spelling
// Windows reads as that path (either separator, repeated separators, "." and ".." steps, trailing
// dots and blanks of a name, a trailing separator, the "\\?\" prefix, and letter case as Windows
// compares file names for the Latin, Greek, Cyrillic and Armenian letters and the full-width
// Latin ones), and another name for another path. It is "Local\Lanternquill.Cache." and 16
// hexadecimal digits of a hash of that normal form, so a path of any length fits a kernel
// object's name. Other spellings of the same file (8.3 short names, links, another drive letter
// for the same share) give other names.
[[nodiscard]] std::string CacheLockName(std::string_view fullPath);

// Takes the lock of the cache file `fileName` (its AbsoluteCachePath's lock).
[[nodiscard]] sLockAttempt LockCacheFile(INamedLocks& locks, const std::string& fileName);
