// Loading the cache file for a command, with the messages the user sees when it fails. Every
// message says what was actually done to the file: stats and dump never change, move or remove
// anything, and import writes only over a missing or empty file or a cache file of ours.
#pragma once

#include <ostream>
#include <string>

#include "history/StatsCache.h"

class CStatsStore;

// For commands that only read (stats, dump): loads `fileName` into `store` and reports on `err`
// why it could not be, leaving whatever is there as it is. Returns the load's result; a folder,
// an empty file or one that cannot be opened count as NotOpened.
eCacheLoad LoadCacheForReading(CStatsStore& store, const std::string& fileName, std::ostream& err);

// For import, before anything is read: loads the cache file the import will write. A missing or
// empty file gives an empty store; a damaged cache file of ours is moved to a name of its own
// ("<name>.rejected-<date>-<time>", named on `err`) and the store starts empty. False, with the
// reason on `err` and nothing changed, when the file must not be written over: a folder, a file
// that is not a cache file of ours (a hand history file named by mistake), a file that cannot be
// read whole, or a damaged cache that could not be moved aside.
bool LoadCacheForImport(CStatsStore& store, const std::string& fileName, std::ostream& err);
