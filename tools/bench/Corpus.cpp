#include "Corpus.h"

#include <algorithm>
#include <chrono>
#include <fstream>

#include "ProcessInfo.h"

namespace bench {

namespace fs = std::filesystem;

namespace {

constexpr int64_t kHandsPerTable = 5000;
// A database grows in players with its hands; about one new player per 20 hands.
constexpr int64_t kHandsPerPlayer = 20;

// Hands recorded in the header of the simulator's expected-counters file; -1 when absent.
int64_t HandsWritten(const fs::path& folder) {
    std::ifstream in(folder / "expected-counters.tsv");
    std::string label;
    std::string word;
    int64_t hands = -1;
    if (in >> label >> word >> hands && label == "#" && word == "hands") {
        return hands;
    }
    return -1;
}

bool ListFiles(const fs::path& folder, sCorpus& corpus) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file() && it->path().extension() == ".txt") {
            corpus.files.push_back(it->path().string());
            corpus.bytes += static_cast<int64_t>(it->file_size());
        }
    }
    std::sort(corpus.files.begin(), corpus.files.end());
    return !ec;
}

}  // namespace

CCorpusFolder::~CCorpusFolder() {
    for (const fs::path& folder : m_temporary) {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
}

bool CCorpusFolder::Prepare(int64_t hands, int64_t players, uint64_t seed, sCorpus& corpus,
                            std::string& error) {
    corpus = {};
    std::error_code ec;
    if (m_keepRoot.empty()) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        corpus.folder = fs::temp_directory_path(ec) /
                        ("lq-bench-" + std::to_string(stamp) + "-" + std::to_string(hands));
        m_temporary.push_back(corpus.folder);
    } else {
        corpus.folder = m_keepRoot / ("hands-" + std::to_string(hands) +
                                      (players > 0 ? "-players-" + std::to_string(players) : ""));
    }

    if (HandsWritten(corpus.folder) != hands) {
        fs::remove_all(corpus.folder, ec);
        const int64_t tables = std::max<int64_t>(1, hands / kHandsPerTable);
        if (players <= 0) {
            players = std::max<int64_t>(200, hands / kHandsPerPlayer);
        }
        const bool ran = RunProgram(
            m_simulator, {"--out", corpus.folder.string(), "--hands", std::to_string(hands),
                          "--tables", std::to_string(tables), "--players", std::to_string(players),
                          "--seed", std::to_string(seed), "--date", "20240315"});
        if (!ran || HandsWritten(corpus.folder) != hands) {
            error = "the simulator (" + m_simulator + ") did not write " + std::to_string(hands) +
                    " hands into " + corpus.folder.string();
            return false;
        }
    }
    corpus.hands = hands;
    if (!ListFiles(corpus.folder, corpus)) {
        error = "cannot list " + corpus.folder.string();
        return false;
    }
    return true;
}

}  // namespace bench
