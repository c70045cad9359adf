// pkr-sim's live mode: the tables are played side by side, one hand at a time with a pause
// between hands, and every hand is appended to its table's file as soon as it is dealt, the way
// the PKR client writes while the user plays. Each hand goes out in two writes (roughly its first
// and second half, split at a line end) with half the pause between them, so a reader can find a
// hand half written. The hands are the same bytes the batch mode writes for the same options.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Simulator.h"

namespace pkrsim {

struct sLiveObserver {
    // Once, before the first hand: the table files in table order.
    std::function<void(const std::vector<std::string>& files)> started;
    // After every write: the file written and whether its last hand is now complete.
    std::function<void(const std::string& file, bool handComplete)> written;
};

// Runs until options.hands hands are written or options.liveSeconds have passed (0: no time
// limit), then writes the expected counters like the batch mode. False with `error` set for bad
// options or when a file stays unwritable (it is retried for about a second first, since a
// reader may hold it open exclusively for a moment).
bool RunLiveSimulation(const sSimOptions& options, sSimResult& result, std::string& error,
                       const sLiveObserver& observer = {});

}  // namespace pkrsim
