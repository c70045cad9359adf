#include "tools/lanternquill/CacheReport.h"

#include <system_error>

#include "history/CacheFileGuard.h"
#include "history/StatsStore.h"

namespace {

// What stands in the way of using `fileName` as a cache file at all, or an empty text.
std::string Obstacle(const sCacheFileCheck& check, const std::string& fileName) {
    switch (check.kind) {
        case eCacheFileKind::Folder:
            return "'" + fileName + "' is a folder, not a cache file";
        case eCacheFileKind::Other:
            return "'" + fileName + "' is not a regular file";
        case eCacheFileKind::Unreadable:
            return "cannot read the cache file '" + fileName + "': " + check.error.message();
        case eCacheFileKind::NotCache:
            return "'" + fileName + "' is not a Lanternquill cache file";
        case eCacheFileKind::Missing:
        case eCacheFileKind::Empty:
        case eCacheFileKind::Cache:
            break;
    }
    return {};
}

}  // namespace

eCacheLoad LoadCacheForReading(CStatsStore& store, const std::string& fileName, std::ostream& err) {
    const sCacheFileCheck check = CheckCacheFile(fileName);
    if (check.kind == eCacheFileKind::Missing) {
        err << "lanternquill: cannot open the cache file '" << fileName << "': no such file\n";
        return eCacheLoad::NotOpened;
    }
    if (check.kind == eCacheFileKind::Empty) {
        err << "lanternquill: the cache file '" << fileName << "' is empty\n";
        return eCacheLoad::NotOpened;
    }
    if (const std::string obstacle = Obstacle(check, fileName); !obstacle.empty()) {
        err << "lanternquill: " << obstacle << " (it has been left as it is)\n";
        return check.kind == eCacheFileKind::NotCache ? eCacheLoad::Rejected
                                                      : eCacheLoad::NotOpened;
    }
    const sCacheLoadOutcome outcome =
        LoadStatsCacheFile(store, fileName, /*setAsideIfRejected=*/false);
    if (outcome.result == eCacheLoad::Rejected) {
        err << "lanternquill: the cache file '" << fileName
            << "' is malformed (it has been left as it is)\n";
    } else if (outcome.result == eCacheLoad::Unreadable) {
        err << "lanternquill: cannot read the cache file '" << fileName
            << "': " << outcome.error.message() << " (it has been left as it is)\n";
    } else if (outcome.result == eCacheLoad::NotOpened) {
        err << "lanternquill: cannot open the cache file '" << fileName << "'\n";
    }
    return outcome.result;
}

bool LoadCacheForImport(CStatsStore& store, const std::string& fileName, std::ostream& err) {
    const sCacheFileCheck check = CheckCacheFile(fileName);
    if (const std::string obstacle = Obstacle(check, fileName); !obstacle.empty()) {
        err << "lanternquill: " << obstacle << "; it has been left untouched and nothing was "
            << "imported";
        if (check.kind == eCacheFileKind::NotCache || check.kind == eCacheFileKind::Folder) {
            err << " (name a new file or an existing cache file with --cache)";
        }
        err << '\n';
        return false;
    }
    if (check.kind != eCacheFileKind::Cache) {
        return true;  // missing or empty: the import starts a new cache
    }
    // A damaged file is set aside under a name of its own; one that cannot be read may be a
    // good cache and is not written over.
    const sCacheLoadOutcome outcome = LoadStatsCacheFile(store, fileName);
    switch (outcome.result) {
        case eCacheLoad::Loaded:
            return true;
        case eCacheLoad::NotOpened:
        case eCacheLoad::Unreadable:
            err << "lanternquill: cannot read the cache file '" << fileName << "'"
                << (outcome.error ? ": " + outcome.error.message() : std::string())
                << "; it has been left untouched and nothing was imported\n";
            return false;
        case eCacheLoad::Rejected:
            break;
    }
    if (outcome.setAsideAs.empty()) {
        err << "lanternquill: the cache file '" << fileName << "' is malformed and could not be "
            << "set aside (" << outcome.error.message()
            << "); it has been left untouched and nothing was imported\n";
        return false;
    }
    err << "lanternquill: the cache file '" << fileName << "' was malformed; it has been moved to '"
        << outcome.setAsideAs << "' and the import starts from an empty cache\n";
    return true;
}
