#include "history/FolderScan.h"

#include <algorithm>
#include <cctype>

#include "history/StatsStore.h"
#include "platform/FileSystem.h"

namespace {

constexpr int64_t kDateFolderGrace = 259200;  // three days, in seconds
constexpr int kDefaultExpectedFiles = 300;

bool IsSeparator(char c) noexcept {
    return c == '\\' || c == '/';
}

bool EndsWithIgnoringCase(const std::string& name, std::string_view filter) noexcept {
    // The last four characters of the name (all of it when shorter) must equal the filter.
    const size_t tail = name.size() < 4 ? name.size() : 4;
    if (tail != filter.size()) {
        return false;
    }
    for (size_t i = 0; i < tail; ++i) {
        const auto a = static_cast<unsigned char>(name[name.size() - tail + i]);
        const auto b = static_cast<unsigned char>(filter[i]);
        if (std::tolower(a) != std::tolower(b)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsDateFolder(const std::string& path) noexcept {
    if (path.size() < 9) {
        return false;
    }
    const std::string_view last9 = std::string_view(path).substr(path.size() - 9);
    if (!IsSeparator(last9[0]) || last9[1] != '2' || last9[2] != '0') {
        return false;
    }
    for (char c : last9) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            return false;
        }
    }
    return true;
}

void CHistoryScan::ScanHistoryFolder(const std::string& folder, const std::string& filter,
                                     int64_t cutoff, bool fullImport, IProgressSink* progress) {
    m_aModifiedFiles.clear();
    m_astrModifiedPaths.clear();
    m_bFullImport = fullImport;
    m_pProgress = progress;
    if (m_pProgress != nullptr) {
        m_pProgress->SetRange(0, 100);
        m_pProgress->SetPos(1);
    }
    m_nScanCounter = 0;
    m_nLastPercent = 0;
    m_nExpectedCount = m_store.Files().empty()
                           ? kDefaultExpectedFiles
                           : static_cast<int>(std::min<size_t>(m_store.Files().size(), 0x7FFFFFFF));
    ScanFolder(folder, filter, cutoff);
}

void CHistoryScan::ScanFolder(const std::string& dir, std::string_view filter, int64_t cutoff) {
    for (const sDirEntry& entry : m_fs.ListDirectory(dir)) {
        std::string path = dir;
        if (path.empty() || !IsSeparator(path.back())) {
            path += kPathSeparator;
        }
        path += entry.m_strName;
        if (entry.m_bDirectory) {
            if (entry.m_strName.empty() || entry.m_strName.front() == '.') {
                continue;
            }
            // Date folders of days long before the cut-off hold nothing new: skip them whole.
            if (IsDateFolder(path)) {
                const auto written = WrittenAt(entry, path);
                if (written && *written < cutoff - kDateFolderGrace) {
                    continue;
                }
            }
            ScanFolder(path, filter, cutoff);
            continue;
        }
        if (!filter.empty() && !EndsWithIgnoringCase(entry.m_strName, filter)) {
            continue;
        }
        CountProgress();
        CheckFile(path, entry.m_strName, WrittenAt(entry, path), cutoff);
    }
}

void CHistoryScan::CountProgress() {
    ++m_nScanCounter;
    const int percent =
        static_cast<int>(static_cast<int64_t>(m_nScanCounter) * 100 / m_nExpectedCount);
    if (percent != m_nLastPercent) {
        m_nLastPercent = percent;
        if (percent > 100) {
            // More files than expected: start the bar again rather than overflow it.
            m_nScanCounter = 0;
            m_nLastPercent = 0;
        }
    }
    if (m_pProgress != nullptr) {
        m_pProgress->SetPos(m_nLastPercent);
    }
}

std::optional<int64_t> CHistoryScan::WrittenAt(const sDirEntry& entry, const std::string& path) {
    return entry.m_tLastWrite ? entry.m_tLastWrite : m_fs.LastWriteTime(path);
}

void CHistoryScan::CheckFile(const std::string& path, std::string_view name,
                             std::optional<int64_t> written, int64_t cutoff) {
    if (!written || *written < cutoff) {
        return;
    }
    const int64_t t = *written;
    // Outside a full import every file written since the cut-off is listed again; a full
    // import compares with the file cache and passes over files read at the time they have now.
    if (m_bFullImport && m_store.FileTime(path) == t) {
        return;
    }
    sModifiedFileInfo info;
    info.m_strPath = path;
    info.m_strName = name.size() > 4 ? std::string(name.substr(0, name.size() - 4)) : std::string();
    info.m_tModified = t;
    m_aModifiedFiles.push_back(std::move(info));
    m_astrModifiedPaths.push_back(path);
}
