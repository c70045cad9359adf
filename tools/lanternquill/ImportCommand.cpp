#include "tools/lanternquill/ImportCommand.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "history/CacheLock.h"
#include "history/FolderScan.h"
#include "history/StatsCache.h"
#include "history/StatsStore.h"
#include "platform/FileSystem.h"
#include "platform/Utf8Path.h"
#include "tools/lanternquill/CacheReport.h"
#include "tools/lanternquill/ExitCodes.h"
#include "tools/lanternquill/ImportFiles.h"
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
    CSystemNamedLocks locks;
    return RunImport(options, out, err, locks);
}

int RunImport(const sImportOptions& options, std::ostream& out, std::ostream& err,
              INamedLocks& locks) {
    for (const std::string& folder : options.folders) {
        if (const std::optional<std::string> problem = FolderProblem(folder)) {
            err << "lanternquill: cannot read the folder '" << folder << "': " << *problem << '\n';
            return kExitFailure;
        }
    }

    // Lanternquill.exe writes the cache it loaded back when it closes, over whatever an import
    // added meanwhile. A lock the system cannot make is no reason to refuse: the import goes on.
    const sLockAttempt lock = LockCacheFile(locks, options.cacheFile);
    if (lock.outcome == eLockOutcome::HeldElsewhere) {
        err << "lanternquill: the cache file '" << options.cacheFile
            << "' is in use by Lanternquill.exe or another import, which would write over what "
               "this import adds; nothing was imported (close Lanternquill, then import again)\n";
        return kExitFailure;
    }

    const auto started = std::chrono::steady_clock::now();
    CStatsStore store;
    // A missing cache simply means a first import; nothing but a cache file of ours is ever
    // written over.
    if (!LoadCacheForImport(store, options.cacheFile, err)) {
        return kExitFailure;
    }
    const size_t handsBefore = store.CountedHands().size();
    const int32_t playersBefore = store.PlayerCount();

    const int64_t cutoff = SecondsSinceEpoch() - options.weeks * kSecondsPerWeek;
    CStdFileSystem fileSystem;
    CHistoryScan scan(fileSystem, store);
    CTerminalProgress progress(err, StderrIsTerminal());
    sImportTally tally;
    for (const std::string& folder : options.folders) {
        const std::string path = AbsoluteFolder(folder);
        progress.SetLabel("Scanning " + path);
        scan.ScanHistoryFolder(path, ".txt", cutoff, /*fullImport=*/true, &progress);
        progress.SetLabel("Reading " + CountText(scan.ModifiedFiles().size(), "file"));
        AddTally(tally,
                 ImportHistoryFiles(store, scan.ModifiedFiles(), SecondsSinceEpoch(), &progress));
    }
    progress.Clear();
    // Files held open by another program are not recorded as read, so the next import reads
    // them.
    for (const sModifiedFileInfo& file : tally.unreadFiles) {
        err << "lanternquill: cannot read '" << file.m_strPath
            << "' (in use by another program?); it will be read by the next import\n";
    }

    // The cache format refuses a store without hands or players; writing one would only have
    // the next load throw it away again.
    if (store.CountedHands().empty() || store.PlayerCount() == 0) {
        err << "lanternquill: no hands found; the cache file '" << options.cacheFile
            << "' was not written\n";
    } else if (std::error_code error; !SaveStatsCache(store, options.cacheFile, error)) {
        err << "lanternquill: cannot write the cache file '" << options.cacheFile
            << "': " << error.message() << '\n';
        return kExitFailure;
    }

    sImportFigures figures;
    figures.tally = tally;
    figures.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    figures.newHands = store.CountedHands().size() - handsBefore;
    figures.players = store.PlayerCount();
    figures.newPlayers = store.PlayerCount() - playersBefore;
    out << ImportSummary(figures);
    return kExitOk;
}
