// The walk of the hand history folder: finds the files written at or after a cut-off time and
// lists the files to parse. The store's file cache is only read here; a file is recorded in it
// once it has been read (history/FileImport.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/Progress.h"

class CStatsStore;
class IFileSystem;
struct sDirEntry;

// One hand history file found by a scan.
struct sModifiedFileInfo {
    std::string m_strPath;  // full path
    std::string m_strName;  // file name without its last four characters: the table name
    int64_t m_tModified = 0;
};

class CHistoryScan {
public:
    CHistoryScan(IFileSystem& fs, CStatsStore& store) : m_fs(fs), m_store(store) {}

    // Empties the found lists and walks `folder` for files whose names end in `filter` (compared
    // without regard to letter case; an empty filter takes every file) written at or after
    // `cutoff`. With `fullImport` set, files whose time the file cache already records are
    // passed over. Progress goes to `progress` (optional) as a percentage of the expected count.
    // The file cache is not changed.
    void ScanHistoryFolder(const std::string& folder, const std::string& filter, int64_t cutoff,
                           bool fullImport, IProgressSink* progress);

    // Files found by the last scan, in the order found, and the same files' paths.
    [[nodiscard]] const std::vector<sModifiedFileInfo>& ModifiedFiles() const noexcept {
        return m_aModifiedFiles;
    }
    [[nodiscard]] const std::vector<std::string>& ModifiedPaths() const noexcept {
        return m_astrModifiedPaths;
    }

private:
    void ScanFolder(const std::string& dir, std::string_view filter, int64_t cutoff);
    void CheckFile(const std::string& path, std::string_view name, std::optional<int64_t> written,
                   int64_t cutoff);
    // The entry's last-write time: from the listing when it brought one along, else asked for.
    std::optional<int64_t> WrittenAt(const sDirEntry& entry, const std::string& path);
    void CountProgress();

    std::vector<sModifiedFileInfo> m_aModifiedFiles;
    std::vector<std::string> m_astrModifiedPaths;  // the paths of m_aModifiedFiles
    IFileSystem& m_fs;
    CStatsStore& m_store;
    bool m_bFullImport = false;
    IProgressSink* m_pProgress = nullptr;
    int m_nScanCounter = 0;
    int m_nLastPercent = 0;
    int m_nExpectedCount = 0;
};

// True for a directory path whose last 9 characters are a separator, "20" and six more
// characters without any ASCII letter: a date-named history folder such as ".../20081201".
bool IsDateFolder(const std::string& path) noexcept;
