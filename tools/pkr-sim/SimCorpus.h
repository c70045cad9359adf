// The tables of one simulation run and the shared state their hands are dealt from: the player
// pool, the hand numbers, the hand engine and the counters every hand must give. The batch
// writer and the live writer both play through it, so the same options give the same hands.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ExpectedCounters.h"
#include "HandEngine.h"
#include "HandRecord.h"
#include "PlayerPool.h"
#include "Rng.h"
#include "Simulator.h"
#include "TableState.h"

namespace pkrsim {

// Hand numbers: increasing, unique over the corpus, with gaps (hands dealt at other tables).
class CHandNumbers {
public:
    CHandNumbers(uint64_t seed, int64_t hands);
    uint32_t Next();

private:
    CRng m_rng;
    uint32_t m_next = 0;
    int m_maxGap = 1;
};

// One table being played and its text not yet written to its file.
struct sTableRun {
    sTableState state;
    int64_t handsLeft = 0;
    std::string path;
    std::string pending;
    bool created = false;  // the file was started (truncated) by this run
};

class CCorpus {
public:
    CCorpus(const sSimOptions& options, int64_t startOfDay);

    sTableRun& AddTable(int index, int64_t hands, std::string path);
    // Plays one hand at `run`, appends its text to run.pending and adds its counters.
    void PlayHand(sTableRun& run);

    std::vector<std::unique_ptr<sTableRun>>& Tables() { return m_tables; }
    const CPlayerPool& Pool() const { return m_pool; }
    const CExpectedCounters& Expected() const { return m_expected; }

private:
    const sSimOptions& m_options;
    CRng m_rng;
    CPlayerPool m_pool;
    CHandNumbers m_numbers;
    CHandEngine m_engine;
    int64_t m_startOfDay;
    std::vector<int> m_stakeOrder;
    std::vector<std::unique_ptr<sTableRun>> m_tables;
    sHandRecord m_hand;
    CExpectedCounters m_expected;
};

// Appends the pending text to the table's file. The first write of a run creates or truncates
// it, so a table without hands still gets its (empty) file.
bool Flush(sTableRun& run);

// Creates the folder <out>/<screen name>/<date> and the corpus' tables with their file paths in
// it, sharing options.hands out over the tables. The files are written later.
bool SetUpTables(const sSimOptions& options, CCorpus& corpus, sSimResult& result,
                 std::string& error);

// Writes <out>/expected-counters.tsv for the hands played so far.
bool WriteExpectedCounters(const sSimOptions& options, const CCorpus& corpus, sSimResult& result,
                           std::string& error);

// Seconds at the start of the run's date (today when none is given).
int64_t StartOfDay(const sSimOptions& options);

}  // namespace pkrsim
