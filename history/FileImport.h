// Reading the files a scan found into the store, and recording in the file cache only those that
// could actually be read: a file held open by another program (the client, a virus scanner) is
// left unrecorded, so that it is read again rather than taken for already counted.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "history/FolderScan.h"
#include "history/Progress.h"

class CStatsStore;

// File times are whole seconds, so a file last written in the second its reading began may be
// written again within that second without its time changing: recording that time would make the
// next full import take the rest of the file for read. Such a file is recorded one second earlier,
// so that it is compared as changed and read again (its hands already counted are skipped by
// number). `readStart` is the clock's time, in seconds, when the reading began.
[[nodiscard]] constexpr int64_t RecordableFileTime(int64_t written, int64_t readStart) noexcept {
    return written >= readStart && written > std::numeric_limits<int64_t>::min() ? written - 1
                                                                                 : written;
}

// For files that nobody writes any more (a finished folder): every time is recorded as found.
inline constexpr int64_t kNothingBeingWritten = std::numeric_limits<int64_t>::max();

// Reads one file found by a scan into the store (with `text` as the reading buffer, reused from
// file to file) and records it in the file cache as ImportFoundFiles does. False, with nothing
// recorded, when the file could not be read.
bool ImportFoundFile(CStatsStore& store, const sModifiedFileInfo& file, int64_t readStart,
                     std::string& text);

// Parses `files` in order and records each file read in the store's file cache with the time
// the scan found (one entry per path; see RecordableFileTime). Returns the files that could not
// be read, in order.
std::vector<sModifiedFileInfo> ImportFoundFiles(CStatsStore& store,
                                                const std::vector<sModifiedFileInfo>& files,
                                                int64_t readStart, IProgressSink* progress);
