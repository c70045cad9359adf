#include "tools/lanternquill/StatsCommand.h"

#include <optional>
#include <string>

#include "history/StatsStore.h"
#include "platform/SystemText.h"
#include "tools/lanternquill/CacheReport.h"
#include "tools/lanternquill/ExitCodes.h"
#include "tools/lanternquill/StatsOutput.h"
#include "tools/lanternquill/StatsRows.h"
#include "tools/lanternquill/TextEscape.h"

int RunStats(const sStatsOptions& options, std::ostream& out, std::ostream& err) {
    CStatsStore store;
    const eCacheLoad load = LoadCacheForReading(store, options.cacheFile, err);
    if (load != eCacheLoad::Loaded) {
        if (load == eCacheLoad::NotOpened) {
            err << "Run 'lanternquill import FOLDER' first, or name the file with --cache.\n";
        }
        return kExitFailure;
    }

    std::optional<int> onlyPlayer;
    if (options.player) {
        // Names are stored as the hand history files hold them, in the system's code page; the
        // argument arrives as UTF-8.
        const std::optional<std::string> name = Utf8ToSystemCodePage(*options.player);
        const int player = name ? store.FindPlayer(*name) : -1;
        if (player < 0) {
            err << "lanternquill: no player named '" << PrintableText(*options.player) << "' in '"
                << options.cacheFile << "'\n";
            return kExitFailure;
        }
        onlyPlayer = player;
    }

    sBucketSelection selection;
    selection.game = options.game;
    selection.stake = options.stake;
    selection.sizeClass = options.sizeClass;
    selection.splitStakes = options.splitStakes;
    // A player asked for by name is listed even without hands in the selection.
    const int64_t minHands = options.minHands.value_or(onlyPlayer ? 0 : 1);
    WriteStats(out, CollectStatsRows(store, selection, onlyPlayer, minHands), options);
    return out ? kExitOk : kExitFailure;
}
