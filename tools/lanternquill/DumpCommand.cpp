#include "tools/lanternquill/DumpCommand.h"

#include <string>

#include "history/StatsStore.h"
#include "tools/lanternquill/BucketNames.h"
#include "tools/lanternquill/CacheReport.h"
#include "tools/lanternquill/ExitCodes.h"
#include "tools/lanternquill/TextEscape.h"

int RunDump(const sDumpOptions& options, std::ostream& out, std::ostream& err) {
    CStatsStore store;
    if (LoadCacheForReading(store, options.cacheFile, err) != eCacheLoad::Loaded) {
        return kExitFailure;
    }

    out << "hands: " << store.CountedHands().size() << '\n'
        << "players: " << store.PlayerCount() << '\n'
        << "file-cache entries: " << store.Files().size() << '\n'
        << "player\tname\tgame\tstake\tsize\tcounter\tvalue\n";
    for (int player = 0; player < store.PlayerCount(); ++player) {
        const std::string name = PrintableText(store.PlayerName(player));
        // Buckets in the order of their numbers: by game, then stake level, then size class.
        for (const sBucketKey bucket : store.PlayerBuckets(player)) {
            const int32_t* counters = store.FindCounterBlock(player, bucket);
            for (int k = 0; k < CNT_MAX; ++k) {
                if (counters[k] == 0) {
                    continue;
                }
                out << player << '\t' << name << '\t' << GameName(bucket.game) << '\t'
                    << StakeLabel(bucket.stake) << '\t' << SizeClassName(bucket.sizeClass) << '\t'
                    << kCounterNames[k] << '\t' << counters[k] << '\n';
            }
        }
    }
    return out ? kExitOk : kExitFailure;
}
