// The cost of one overlay refresh tick of a table HUD: bringing what it read of the table's hand
// history file up to date, reading its seats and composing the texts of all ten seats, as the HUD
// does every 150 ms; beside it, the cost of a tick that reads and searches the whole file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// One kind of table file to measure.
struct sRefreshScenario {
    std::string label;
    int game = 0;
    int stake = 0;
    int seats = 10;            // seat lines per hand
    bool laterFormat = false;  // blinds written with blanks around the slash
};

struct sTickTimes {
    double medianMicros = 0;
    double p99Micros = 0;
    double meanMicros = 0;
    // The p99 of the processor time the thread spent in a tick, which leaves out the time other
    // programs had the processor; -1 where the platform does not tell it.
    double p99CpuMicros = -1;
};

struct sRefreshMeasurement {
    std::string label;
    int64_t fileBytes = 0;
    int seated = 0;  // seats with a name in the current hand
    int known = 0;   // of them, players found in the store
    // Microseconds per tick while the file does not change (a table between hands, or one whose
    // HUD is not shown) ...
    sTickTimes idle;
    // ... while the client appends half a hand before every tick (the table being played) ...
    sTickTimes growing;
    // ... and when the whole file is read and searched on every tick.
    sTickTimes whole;
    bool ok = false;
};

// The scenarios lq-bench --refresh measures: full ring, six-max in the later format, heads-up,
// and a table without any stake marker (every stake marker searched through the whole file).
std::vector<sRefreshScenario> DefaultRefreshScenarios();

// Writes a table file of `hands` hands for the scenario into `folder`, fills a store from it (so
// the seated players are known, as after an import) and times `repeat` refresh ticks.
sRefreshMeasurement MeasureRefresh(const sRefreshScenario& scenario, int64_t hands, int repeat,
                                   const std::string& folder);

}  // namespace bench
