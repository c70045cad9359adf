#include "app/CacheNotices.h"

#include "history/StatsCache.h"

namespace {

// The system's reason as the end of a sentence: without its own full stop or line end (Windows'
// texts carry both), and never empty.
std::string Reason(std::error_code error) {
    std::string text = error ? error.message() : std::string();
    while (!text.empty() && (text.back() == '.' || text.back() == ' ' || text.back() == '\r' ||
                             text.back() == '\n')) {
        text.pop_back();
    }
    return text.empty() ? "the system gave no reason" : text;
}

// What the player can do about a folder the program may not write.
std::string Remedy() {
    return std::string(
               "Run Lanternquill from a folder it may write, for example one in your "
               "Documents folder (copy its statistics file ") +
           kCacheFileName + " there too, if there is one).";
}

}  // namespace

std::string CacheInUseText(const std::string& cachePath) {
    return "The statistics file\n" + cachePath +
           "\nis in use by a Lanternquill that is already running (or by an import of the "
           "command-line tool).\n\nTwo of them would save over each other's statistics, so this "
           "Lanternquill ends now. Use the one that is running, or close it and start Lanternquill "
           "again.";
}

std::optional<std::string> UnwritableFolderText(const std::string& folder, std::error_code probe) {
    if (!probe) {
        return std::nullopt;
    }
    return "Lanternquill cannot write in the folder " + folder + ": " + Reason(probe) +
           ".\n\nIt keeps its statistics in that folder, so the statistics of this session "
           "will not be saved when it closes. " +
           Remedy();
}

std::optional<std::string> FailedSaveText(const std::string& cachePath, bool saved,
                                          std::error_code error) {
    if (saved) {
        return std::nullopt;
    }
    return "Lanternquill could not save its statistics to " + cachePath + ": " + Reason(error) +
           ".\n\nThe statistics of this session were not saved. " + Remedy();
}
