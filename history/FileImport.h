// Reading the files a scan found into the store, and recording in the file cache only those that
// could actually be read: a file held open by another program (the client, a virus scanner) is
// left unrecorded, so that it is read again rather than taken for already counted.
#pragma once

#include <vector>

#include "history/FolderScan.h"
#include "history/Progress.h"

class CStatsStore;

// Parses `files` in order and records each file read in the store's file cache with the time
// the scan found (one entry per path). Returns the files that could not be read, in order.
std::vector<sModifiedFileInfo> ImportFoundFiles(CStatsStore& store,
                                                const std::vector<sModifiedFileInfo>& files,
                                                IProgressSink* progress);
