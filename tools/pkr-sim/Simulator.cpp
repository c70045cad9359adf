#include "Simulator.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>

#include "CivilTime.h"
#include "HandEngine.h"
#include "HandRecord.h"
#include "HandWriter.h"
#include "PlayerPool.h"
#include "TableState.h"

namespace pkrsim {

namespace {

constexpr uint32_t kFirstHandNumber = 2433297728u;
constexpr size_t kFlushBytes = 128 * 1024;

// Hand numbers: increasing, unique over the corpus, with gaps (hands dealt at other tables).
class CHandNumbers {
public:
    CHandNumbers(uint64_t seed, int64_t hands) : m_rng(seed) {
        m_next = kFirstHandNumber + m_rng.Below(100000);
        const uint64_t room = std::numeric_limits<uint32_t>::max() - m_next;
        m_maxGap = static_cast<int>(std::clamp<uint64_t>(room / std::max<int64_t>(hands, 1), 1, 9));
    }
    uint32_t Next() {
        m_next += static_cast<uint32_t>(m_rng.Between(1, m_maxGap));
        return m_next;
    }

private:
    CRng m_rng;
    uint32_t m_next = 0;
    int m_maxGap = 1;
};

// One table being played and its pending text.
struct sTableRun {
    sTableState state;
    int64_t handsLeft = 0;
    std::string path;
    std::string pending;
    bool created = false;  // the file was started (truncated) by this run
};

class CCorpus {
public:
    CCorpus(const sSimOptions& options, int64_t startOfDay)
        : m_options(options),
          m_rng(options.seed),
          m_pool(options.screenName, options.players, m_rng),
          m_numbers(m_rng.Fork(), options.hands),
          m_engine(m_pool),
          m_startOfDay(startOfDay) {
        // Without a fixed stake the tables go through every stake level in a shuffled order,
        // so a corpus of 11 tables or more has them all.
        for (int level = 0; level < STAKE_MAX; ++level) {
            m_stakeOrder.push_back(level);
        }
        for (int i = STAKE_MAX - 1; i > 0; --i) {
            std::swap(m_stakeOrder[i], m_stakeOrder[m_rng.Below(static_cast<uint32_t>(i + 1))]);
        }
    }

    sTableRun& AddTable(int index, int64_t hands, std::string path) {
        sTableLimits limits;
        limits.game = m_options.game;
        limits.stake = m_options.stake >= 0 ? m_options.stake
                                            : m_stakeOrder[static_cast<size_t>(index) % STAKE_MAX];
        limits.minSeats = m_options.minSeats;
        limits.maxSeats = std::min(m_options.maxSeats, m_options.players + 1);
        limits.minSeats = std::min(limits.minSeats, limits.maxSeats);
        sTableConfig config = DrawTable(limits, index, m_rng);
        const int64_t start = m_startOfDay + 8 * 3600 + m_rng.Below(10 * 3600);
        m_tables.push_back(std::make_unique<sTableRun>(
            sTableRun{sTableState(std::move(config), m_rng.Fork(), start),
                      hands,
                      std::move(path),
                      {},
                      false}));
        sTableRun& run = *m_tables.back();
        SeatInitialPlayers(run.state, m_pool);
        return run;
    }

    // Plays one hand at `run`, appends its text and adds its counters.
    void PlayHand(sTableRun& run) {
        if (run.state.handsPlayed > 0) {
            PrepareNextHand(run.state, m_pool);
        }
        m_engine.PlayHand(run.state, m_numbers.Next(), m_hand);
        AppendHandText(run.pending, run.state.config, m_hand, m_pool, m_options.laterFormat);
        m_expected.AddHand(m_hand, run.state.config.game, run.state.config.stake);
        --run.handsLeft;
    }

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
bool Flush(sTableRun& run) {
    if (run.pending.empty() && run.created) {
        return true;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        std::fopen(run.path.c_str(), run.created ? "ab" : "wb"), &std::fclose);
    if (!file) {
        return false;
    }
    run.created = true;
    const bool written =
        std::fwrite(run.pending.data(), 1, run.pending.size(), file.get()) == run.pending.size();
    run.pending.clear();
    return written && std::fclose(file.release()) == 0;
}

int64_t StartOfDay(const sSimOptions& options) {
    return ParseDate(options.date.empty() ? TodayDate() : options.date).value_or(0);
}

}  // namespace

std::string CheckOptions(const sSimOptions& options) {
    if (options.tables < 1 || options.tables > kMaxTables) {
        return "--tables must be between 1 and " + std::to_string(kMaxTables);
    }
    if (options.hands < 0 || options.hands > kMaxHands) {
        return "--hands must be between 0 and " + std::to_string(kMaxHands);
    }
    if (options.players < 1 || options.players > kMaxPlayers) {
        return "--players must be between 1 and " + std::to_string(kMaxPlayers);
    }
    if (!IsUsableScreenName(options.screenName)) {
        return "--screen-name must be 1 to 24 printable characters without blanks, path "
               "characters or \"Seat\"";
    }
    if (!options.date.empty() && !ParseDate(options.date)) {
        return "--date must be a valid date written YYYYMMDD (1970 or later)";
    }
    if (options.game < -1 || options.game >= GAME_MAX) {
        return "unknown game";
    }
    if (options.stake < -1 || options.stake >= STAKE_MAX) {
        return "unknown stake level";
    }
    if (options.minSeats < 2 || options.maxSeats > 10 || options.minSeats > options.maxSeats) {
        return "--seats must be MIN-MAX with 2 <= MIN <= MAX <= 10";
    }
    return {};
}

bool RunSimulation(const sSimOptions& options, sSimResult& result, std::string& error) {
    result = {};
    error = CheckOptions(options);
    if (error.empty() && options.outDir.empty()) {
        error = "--out is required";
    }
    if (!error.empty()) {
        return false;
    }
    namespace fs = std::filesystem;
    const std::string date = options.date.empty() ? TodayDate() : options.date;
    const fs::path folder = fs::path(options.outDir) / options.screenName / date;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot create " + folder.string() + ": " + ec.message();
        return false;
    }

    CCorpus corpus(options, StartOfDay(options));
    for (int t = 0; t < options.tables; ++t) {
        const int64_t hands = options.hands / options.tables + (t < options.hands % options.tables);
        sTableRun& run = corpus.AddTable(t, hands, {});
        run.path = (folder / (run.state.config.name + ".txt")).string();
        result.files.push_back(run.path);
    }

    // The tables play side by side, one hand each in turn, as a multi-tabling player sees them.
    auto& tables = corpus.Tables();
    for (bool more = true; more;) {
        more = false;
        for (auto& run : tables) {
            if (run->handsLeft <= 0) {
                continue;
            }
            corpus.PlayHand(*run);
            ++result.handsWritten;
            more = more || run->handsLeft > 0;
            if (run->pending.size() >= kFlushBytes && !Flush(*run)) {
                error = "cannot write " + run->path;
                return false;
            }
        }
    }
    for (auto& run : tables) {
        if (!Flush(*run)) {
            error = "cannot write " + run->path;
            return false;
        }
    }

    result.expectedCountersPath = (fs::path(options.outDir) / "expected-counters.tsv").string();
    if (!corpus.Expected().Write(result.expectedCountersPath, corpus.Pool())) {
        error = "cannot write " + result.expectedCountersPath;
        return false;
    }
    return true;
}

std::string GenerateTableText(const sSimOptions& options, std::vector<sExpectedRow>* expected) {
    CCorpus corpus(options, StartOfDay(options));
    sTableRun& run = corpus.AddTable(0, options.hands, {});
    while (run.handsLeft > 0) {
        corpus.PlayHand(run);
    }
    if (expected != nullptr) {
        expected->clear();
        for (const auto& [key, totals] : corpus.Expected().All()) {
            const int bucket = key.second;
            expected->push_back({corpus.Pool().Name(key.first), BucketGame(bucket),
                                 BucketStake(bucket), BucketSizeClass(bucket), totals});
        }
    }
    return std::move(run.pending);
}

}  // namespace pkrsim
