#include "SimCorpus.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "CivilTime.h"
#include "HandWriter.h"

namespace pkrsim {

namespace {
constexpr uint32_t kFirstHandNumber = 2433297728u;
}  // namespace

CHandNumbers::CHandNumbers(uint64_t seed, int64_t hands) : m_rng(seed) {
    m_next = kFirstHandNumber + m_rng.Below(100000);
    const uint64_t room = std::numeric_limits<uint32_t>::max() - m_next;
    m_maxGap = static_cast<int>(std::clamp<uint64_t>(room / std::max<int64_t>(hands, 1), 1, 9));
}

uint32_t CHandNumbers::Next() {
    m_next += static_cast<uint32_t>(m_rng.Between(1, m_maxGap));
    return m_next;
}

CCorpus::CCorpus(const sSimOptions& options, int64_t startOfDay)
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

sTableRun& CCorpus::AddTable(int index, int64_t hands, std::string path) {
    sTableLimits limits;
    limits.game = m_options.game;
    limits.stake = m_options.stake >= 0 ? m_options.stake
                                        : m_stakeOrder[static_cast<size_t>(index) % STAKE_MAX];
    limits.minSeats = m_options.minSeats;
    limits.maxSeats = std::min(m_options.maxSeats, m_options.players + 1);
    limits.minSeats = std::min(limits.minSeats, limits.maxSeats);
    sTableConfig config = DrawTable(limits, index, m_rng);
    const int64_t start = m_startOfDay + 8 * 3600 + m_rng.Below(10 * 3600);
    m_tables.push_back(std::make_unique<sTableRun>(sTableRun{
        sTableState(std::move(config), m_rng.Fork(), start), hands, std::move(path), {}, false}));
    sTableRun& run = *m_tables.back();
    SeatInitialPlayers(run.state, m_pool);
    return run;
}

void CCorpus::PlayHand(sTableRun& run) {
    if (run.state.handsPlayed > 0) {
        PrepareNextHand(run.state, m_pool);
    }
    m_engine.PlayHand(run.state, m_numbers.Next(), m_hand);
    AppendHandText(run.pending, run.state.config, m_hand, m_pool, m_options.laterFormat);
    // The table's configuration holds the game and stake as the numbers its options gave.
    m_expected.AddHand(m_hand, static_cast<eGameType>(run.state.config.game),
                       static_cast<eStakeLevel>(run.state.config.stake));
    --run.handsLeft;
}

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

bool SetUpTables(const sSimOptions& options, CCorpus& corpus, sSimResult& result,
                 std::string& error) {
    namespace fs = std::filesystem;
    const std::string date = options.date.empty() ? TodayDate() : options.date;
    const fs::path folder = fs::path(options.outDir) / options.screenName / date;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot create " + folder.string() + ": " + ec.message();
        return false;
    }
    for (int t = 0; t < options.tables; ++t) {
        const int64_t hands = options.hands / options.tables + (t < options.hands % options.tables);
        sTableRun& run = corpus.AddTable(t, hands, {});
        run.path = (folder / (run.state.config.name + ".txt")).string();
        result.files.push_back(run.path);
    }
    return true;
}

bool WriteExpectedCounters(const sSimOptions& options, const CCorpus& corpus, sSimResult& result,
                           std::string& error) {
    result.expectedCountersPath =
        (std::filesystem::path(options.outDir) / "expected-counters.tsv").string();
    if (!corpus.Expected().Write(result.expectedCountersPath, corpus.Pool())) {
        error = "cannot write " + result.expectedCountersPath;
        return false;
    }
    return true;
}

int64_t StartOfDay(const sSimOptions& options) {
    return ParseDate(options.date.empty() ? TodayDate() : options.date).value_or(0);
}

}  // namespace pkrsim
