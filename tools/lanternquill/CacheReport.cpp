#include "tools/lanternquill/CacheReport.h"

eCacheLoad LoadCacheReporting(CStatsStore& store, const std::string& fileName, std::ostream& err,
                              bool reportMissing, bool keepRejected) {
    const eCacheLoad result = LoadStatsCacheEx(store, fileName, !keepRejected);
    switch (result) {
        case eCacheLoad::Loaded:
            break;
        case eCacheLoad::NotOpened:
            if (reportMissing) {
                err << "lanternquill: cannot open the cache file '" << fileName << "'\n";
            }
            break;
        case eCacheLoad::Rejected:
            if (keepRejected) {
                err << "lanternquill: the cache file '" << fileName
                    << "' is malformed (the file has been left as it is)\n";
            } else {
                err << "lanternquill: the cache file '" << fileName
                    << "' was malformed and has been discarded\n";
            }
            break;
    }
    return result;
}
