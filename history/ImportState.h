// Process-wide import state shared by start-up, the import cycle and the options reload.
#pragma once

#include <cstdint>

extern bool g_bFullImport;           // the next import cycle is a full import
extern bool g_bCacheLoaded;          // the cache file loaded at start-up
extern int64_t g_timeHistoryCutoff;  // files last written before this are ignored

// 1 July 2000, 00:00:00 local time: the cut-off before anything else has set one.
int64_t InitialHistoryCutoff();
