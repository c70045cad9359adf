#include "tools/lanternquill/ImportCommand.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "history/FolderScan.h"
#include "history/HistoryParser.h"
#include "history/StatsCache.h"
#include "history/StatsStore.h"
#include "hud/StatFormulas.h"
#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"
#include "tools/lanternquill/CacheReport.h"
#include "tools/lanternquill/ExitCodes.h"
#include "tools/lanternquill/TerminalProgress.h"

namespace {

constexpr int64_t kSecondsPerWeek = int64_t{7} * 86400;

// Why a folder cannot be imported, or nothing when it can be listed.
std::optional<std::string> FolderProblem(const std::string& folder) {
    std::error_code ec;
    const std::filesystem::path path = PathFromUtf8(folder);
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        return std::string("no such folder");
    }
    if (!std::filesystem::is_directory(status)) {
        return std::string("not a folder");
    }
    std::filesystem::directory_iterator listing(path, ec);
    if (ec) {
        return ec.message();
    }
    return std::nullopt;
}

// The folder as an absolute path without a trailing separator, so that the file cache records
// the same paths whichever folder the tool was started in.
std::string AbsoluteFolder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(PathFromUtf8(folder), ec);
    if (ec) {
        return folder;
    }
    std::string text = Utf8FromPath(path.lexically_normal());
    const std::string root = Utf8FromPath(path.root_path());
    while (text.size() > root.size() && (text.back() == '/' || text.back() == kPathSeparator)) {
        text.pop_back();
    }
    return text;
}

int64_t SecondsSinceEpoch() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

int RunImport(const sImportOptions& options, std::ostream& out, std::ostream& err) {
    for (const std::string& folder : options.folders) {
        if (const std::optional<std::string> problem = FolderProblem(folder)) {
            err << "lanternquill: cannot read the folder '" << folder << "': " << *problem << '\n';
            return kExitFailure;
        }
    }

    const auto started = std::chrono::steady_clock::now();
    CStatsStore store;
    // A missing cache simply means a first import; a malformed one is reported and dropped.
    LoadCacheReporting(store, options.cacheFile, err, /*reportMissing=*/false);
    const size_t handsBefore = store.CountedHands().size();
    const int32_t playersBefore = store.PlayerCount();

    const int64_t cutoff = SecondsSinceEpoch() - options.weeks * kSecondsPerWeek;
    CStdFileSystem fileSystem;
    CHistoryScan scan(fileSystem, store);
    CTerminalProgress progress(err, StderrIsTerminal());
    size_t files = 0;
    for (const std::string& folder : options.folders) {
        const std::string path = AbsoluteFolder(folder);
        progress.SetLabel("Scanning " + path);
        scan.ScanHistoryFolder(path, ".txt", cutoff, /*fullImport=*/true, &progress);
        progress.SetLabel("Reading " + std::to_string(scan.m_astrModifiedPaths.size()) + " files");
        ParseHistoryFiles(store, scan.m_astrModifiedPaths, &progress);
        files += scan.m_astrModifiedPaths.size();
    }
    progress.Clear();

    // The cache format refuses a store without hands or players; writing one would only have
    // the next load throw it away again.
    if (store.CountedHands().empty() || store.PlayerCount() == 0) {
        err << "lanternquill: no hands found; the cache file '" << options.cacheFile
            << "' was not written\n";
    } else if (!SaveStatsCache(store, options.cacheFile)) {
        err << "lanternquill: cannot write the cache file '" << options.cacheFile << "'\n";
        return kExitFailure;
    }

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const size_t newHands = store.CountedHands().size() - handsBefore;
    const double handsPerSecond = seconds > 0.0 ? static_cast<double>(newHands) / seconds : 0.0;
    out << "Imported " << files << " files: " << newHands << " new hands, " << store.PlayerCount()
        << " players (" << store.PlayerCount() - playersBefore << " new) in "
        << FormatFixed(static_cast<float>(seconds), 3) << " s ("
        << FormatFixed(static_cast<float>(handsPerSecond), 0) << " hands/s)\n";
    return kExitOk;
}
