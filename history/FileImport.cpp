#include "history/FileImport.h"

#include <string>

#include "history/HistoryParser.h"
#include "history/StatsStore.h"
#include "history/TextFile.h"

bool ImportFoundFile(CStatsStore& store, const sModifiedFileInfo& file, int64_t readStart,
                     std::string& text) {
    if (!ReadTextFile(file.m_strPath, text)) {
        return false;
    }
    ParseHistoryText(store, text);
    store.RecordFileTime(file.m_strPath, RecordableFileTime(file.m_tModified, readStart));
    return true;
}

std::vector<sModifiedFileInfo> ImportFoundFiles(CStatsStore& store,
                                                const std::vector<sModifiedFileInfo>& files,
                                                int64_t readStart, IProgressSink* progress) {
    std::vector<std::string> paths;
    paths.reserve(files.size());
    for (const sModifiedFileInfo& file : files) {
        paths.push_back(file.m_strPath);
    }
    const std::vector<size_t> unreadIndexes = ParseHistoryFiles(store, paths, progress);

    std::vector<sModifiedFileInfo> unread;
    unread.reserve(unreadIndexes.size());
    size_t next = 0;  // position in unreadIndexes, which is in ascending order
    for (size_t i = 0; i < files.size(); ++i) {
        if (next < unreadIndexes.size() && unreadIndexes[next] == i) {
            unread.push_back(files[i]);
            ++next;
            continue;
        }
        store.RecordFileTime(files[i].m_strPath,
                             RecordableFileTime(files[i].m_tModified, readStart));
    }
    return unread;
}
