#include "ExpectedCounters.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string_view>

namespace pkrsim {

void CExpectedCounters::AddHand(const sHandRecord& hand, eGameType game, eStakeLevel stake) {
    ++m_hands;
    ComputeHandCounters(hand, m_scratch);
    const int bucket =
        sBucketKey{game, stake, SizeClassFromSeatCount(static_cast<int>(hand.seats.size()))}
            .Index();
    for (size_t s = 0; s < m_scratch.size(); ++s) {
        if (!m_scratch[s].counted) {
            continue;
        }
        CounterTotals& totals = m_totals[int64_t{hand.seats[s].player} * BUCKET_COUNT + bucket];
        for (int k = 0; k < CNT_MAX; ++k) {
            totals[k] += m_scratch[s].add[k];
        }
    }
}

const CounterTotals* CExpectedCounters::Find(int player, sBucketKey bucket) const {
    if (!bucket.IsValid()) {
        return nullptr;
    }
    const auto it = m_totals.find(int64_t{player} * BUCKET_COUNT + bucket.Index());
    return it == m_totals.end() ? nullptr : &it->second;
}

std::map<std::pair<int, int>, CounterTotals> CExpectedCounters::All() const {
    std::map<std::pair<int, int>, CounterTotals> ordered;
    for (const auto& [key, totals] : m_totals) {
        ordered.emplace(std::make_pair(static_cast<int>(key / BUCKET_COUNT),
                                       static_cast<int>(key % BUCKET_COUNT)),
                        totals);
    }
    return ordered;
}

bool CExpectedCounters::Write(const std::string& path, const CPlayerPool& pool) const {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         &std::fclose);
    if (!file) {
        return false;
    }
    std::string text = "# hands\t" + std::to_string(m_hands) + "\n";
    for (const auto& [key, totals] : All()) {
        const sBucketKey bucket = sBucketKey::At(key.second);
        text += pool.Name(key.first);
        text += '\t';
        text += std::to_string(bucket.game);
        text += '\t';
        text += std::to_string(bucket.stake);
        text += '\t';
        text += std::to_string(bucket.sizeClass);
        for (const int64_t value : totals) {
            text += '\t';
            text += std::to_string(value);
        }
        text += '\n';
    }
    return std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
}

namespace {

// Splits at tabs; the fields view into `line`.
std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool ReadExpectedCounters(const std::string& path, int64_t& hands,
                          std::vector<sExpectedRow>& rows) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return false;
    }
    const auto header = SplitTabs(line);
    if (header.size() != 2 || header[0] != "# hands" || !ParseNumber(header[1], hands)) {
        return false;
    }
    rows.clear();
    while (std::getline(in, line)) {
        const auto fields = SplitTabs(line);
        if (fields.size() != 4 + CNT_MAX) {
            return false;
        }
        sExpectedRow row;
        row.name = std::string(fields[0]);
        if (!ParseNumber(fields[1], row.game) || !ParseNumber(fields[2], row.stake) ||
            !ParseNumber(fields[3], row.sizeClass)) {
            return false;
        }
        for (int k = 0; k < CNT_MAX; ++k) {
            if (!ParseNumber(fields[4 + k], row.counters[k])) {
                return false;
            }
        }
        rows.push_back(std::move(row));
    }
    return true;
}

}  // namespace pkrsim
