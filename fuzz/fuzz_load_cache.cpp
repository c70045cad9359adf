// Fuzz target: arbitrary bytes as a statistics cache file.
//
// A malformed image must be refused without leaving anything in the store. An image that loads
// must survive a save and a second load unchanged: same players (names, ids, every counter), same
// counted hands, same file cache.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "history/PlayerRecord.h"
#include "history/StatsCache.h"
#include "history/StatsStore.h"

namespace {

// One file per fuzzing process, so parallel jobs do not overwrite each other's round trip.
const std::string& RoundTripPath() {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("lanternquill-fuzz-" + std::to_string(::getpid()) + ".dat"))
                                        .string();
    return path;
}

bool SameRecords(const CStatsStore& a, const CStatsStore& b, int player) {
    // Records are 10 KB each; keep them off the stack.
    static const auto recordA = std::make_unique<CPKR_PlayerRecord>();
    static const auto recordB = std::make_unique<CPKR_PlayerRecord>();
    a.GetRecord(player, *recordA);
    b.GetRecord(player, *recordB);
    return recordA->m_nId == recordB->m_nId &&
           std::memcmp(recordA->m_anCounters, recordB->m_anCounters,
                       sizeof(recordA->m_anCounters)) == 0;
}

void CheckSameStore(const CStatsStore& loaded, const CStatsStore& reread) {
    FuzzRequire(reread.PlayerCount() == loaded.PlayerCount(), "the player count survives");
    for (int player = 0; player < loaded.PlayerCount(); ++player) {
        FuzzRequire(reread.PlayerName(player) == loaded.PlayerName(player), "names survive");
        FuzzRequire(reread.PlayerId(player) == loaded.PlayerId(player), "ids survive");
        FuzzRequire(SameRecords(loaded, reread, player), "counters survive");
    }
    FuzzRequire(reread.CountedHands() == loaded.CountedHands(), "counted hands survive");
    FuzzRequire(reread.Files() == loaded.Files(), "file-cache paths survive");
    FuzzRequire(reread.FileTimes() == loaded.FileTimes(), "file-cache times survive");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CStatsStore loaded;
    if (!LoadStatsCacheImage(loaded, data, size)) {
        FuzzRequire(loaded.PlayerCount() == 0 && loaded.CountedHands().empty() &&
                        loaded.Files().empty() && loaded.FileTimes().empty(),
                    "a refused image leaves the store empty");
        return 0;
    }
    FuzzRequire(loaded.Files().size() == loaded.FileTimes().size(),
                "file-cache paths and times pair up");

    const std::string& path = RoundTripPath();
    FuzzRequire(SaveStatsCache(loaded, path), "a loaded store can be saved");
    CStatsStore reread;
    FuzzRequire(LoadStatsCacheEx(reread, path, false) == eCacheLoad::Loaded,
                "a saved store loads again");
    std::remove(path.c_str());
    CheckSameStore(loaded, reread);
    return 0;
}
