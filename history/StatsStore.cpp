#include "history/StatsStore.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

void CStatsStore::ResetStatistics() {
    ++m_nRevision;
    m_nPlayers = 0;
    std::vector<std::string>().swap(m_astrNames);
    std::vector<int32_t>().swap(m_anIds);
    std::vector<uint32_t>().swap(m_anBlockOf);
    std::vector<sCounterBlock>().swap(m_blocks);
    m_index.Clear();
    std::vector<uint32_t>().swap(m_anHands);
    m_handSet.Clear();
    std::vector<std::string>().swap(m_astrFiles);
    std::vector<int64_t>().swap(m_atFileTimes);
    std::unordered_map<std::string, size_t>().swap(m_fileIndex);
    m_nIndexedFiles = 0;
}

int32_t CStatsStore::AddPlayer(std::string_view name) {
    return AddPlayerWithId(name, m_nPlayers);
}

int32_t CStatsStore::AddPlayerWithId(std::string_view name, int32_t id) {
    ++m_nRevision;
    const int32_t player = m_nPlayers;
    m_astrNames.emplace_back(name);
    m_anIds.push_back(id);
    m_anBlockOf.resize(m_anBlockOf.size() + BUCKET_COUNT, kNoBlock);
    ++m_nPlayers;
    m_index.Add(player, m_astrNames);
    return player;
}

const int32_t* CStatsStore::BlockAt(int player, int bucket) const noexcept {
    const uint32_t block = m_anBlockOf[SlotOf(player, bucket)];
    return block == kNoBlock ? nullptr : m_blocks[block].counters;
}

int32_t* CStatsStore::CreateBlockAt(int player, int bucket) {
    uint32_t& block = m_anBlockOf[SlotOf(player, bucket)];
    if (block == kNoBlock) {
        block = static_cast<uint32_t>(m_blocks.size());
        m_blocks.push_back(sCounterBlock{});
    }
    return m_blocks[block].counters;
}

const int32_t* CStatsStore::FindCounterBlock(int player, sBucketKey key) const noexcept {
    if (!IsValidPlayer(player) || !key.IsValid()) {
        return nullptr;
    }
    return BlockAt(player, key.Index());
}

int32_t* CStatsStore::CounterBlock(int player, sBucketKey key) {
    if (!IsValidPlayer(player) || !key.IsValid()) {
        throw std::out_of_range("counter block out of range");
    }
    ++m_nRevision;
    return CreateBlockAt(player, key.Index());
}

int32_t CStatsStore::RawCounter(int player, sBucketKey key, eCounter k) const noexcept {
    if (k < 0 || k >= CNT_MAX) {
        return 0;
    }
    const int32_t* block = FindCounterBlock(player, key);
    return block ? block[k] : 0;
}

int CStatsStore::GetCounter(int player, sBucketKey key, eCounter k, bool splitStakes) const {
    if (!IsValidPlayer(player)) {
        throw std::out_of_range("GetCounter: invalid player index");
    }
    if (!splitStakes && IsNoLimitStake(key.stake)) {
        int sum = 0;
        for (int level = STAKE_FIRST_NL; level <= STAKE_LAST_NL; ++level) {
            key.stake = static_cast<eStakeLevel>(level);
            // Counters only ever grow by one, but a cache file can hold anything: wrap like the
            // 32-bit sum it is rather than overflow.
            sum = static_cast<int>(static_cast<uint32_t>(sum) +
                                   static_cast<uint32_t>(RawCounter(player, key, k)));
        }
        return sum;
    }
    return RawCounter(player, key, k);
}

std::vector<sBucketKey> CStatsStore::PlayerBuckets(int player) const {
    std::vector<sBucketKey> buckets;
    if (!IsValidPlayer(player)) {
        return buckets;
    }
    for (int bucket = 0; bucket < BUCKET_COUNT; ++bucket) {
        if (BlockAt(player, bucket) != nullptr) {
            buckets.push_back(sBucketKey::At(bucket));
        }
    }
    return buckets;
}

void CStatsStore::GetRecord(int player, CPKR_PlayerRecord& out) const {
    if (!IsValidPlayer(player)) {
        throw std::out_of_range("GetRecord: invalid player index");
    }
    out.m_nId = m_anIds[static_cast<size_t>(player)];
    for (int bucket = 0; bucket < BUCKET_COUNT; ++bucket) {
        int32_t* dest = &out.m_anCounters[bucket * CNT_MAX];
        if (const int32_t* block = BlockAt(player, bucket)) {
            std::memcpy(dest, block, CNT_MAX * sizeof(int32_t));
        } else {
            std::memset(dest, 0, CNT_MAX * sizeof(int32_t));
        }
    }
}

void CStatsStore::SetRecord(int player, const CPKR_PlayerRecord& record) {
    if (!IsValidPlayer(player)) {
        throw std::out_of_range("SetRecord: invalid player index");
    }
    ++m_nRevision;
    m_anIds[static_cast<size_t>(player)] = record.m_nId;
    for (int bucket = 0; bucket < BUCKET_COUNT; ++bucket) {
        const int32_t* src = &record.m_anCounters[bucket * CNT_MAX];
        const bool allZero = std::all_of(src, src + CNT_MAX, [](int32_t v) { return v == 0; });
        const int32_t* existing = BlockAt(player, bucket);
        if (allZero && existing == nullptr) {
            continue;  // an absent block reads as zeros already
        }
        std::memcpy(CreateBlockAt(player, bucket), src, CNT_MAX * sizeof(int32_t));
    }
}

void CStatsStore::AddCountedHand(uint32_t hand) {
    ++m_nRevision;
    m_anHands.push_back(hand);
    m_handSet.Insert(hand);
}

void CStatsStore::ReserveHands(size_t count) {
    m_anHands.reserve(count);
    m_handSet.Reserve(count);
}

void CStatsStore::ReservePlayers(size_t count) {
    m_astrNames.reserve(count);
    m_anIds.reserve(count);
    m_anBlockOf.reserve(count * BUCKET_COUNT);
    m_index.Reserve(count, m_astrNames);
}

void CStatsStore::IndexFiles() {
    if (m_nIndexedFiles == m_astrFiles.size() && m_fileIndex.size() == m_nIndexedFiles) {
        return;
    }
    // Rebuilt whole: this happens once after a load, and folding needs to see every entry (paths
    // and times are only ever appended in pairs, so the two arrays have the same length).
    m_fileIndex.clear();
    m_fileIndex.reserve(m_astrFiles.size());
    size_t kept = 0;
    for (size_t i = 0; i < m_astrFiles.size(); ++i) {
        const auto [it, added] = m_fileIndex.try_emplace(m_astrFiles[i], kept);
        if (!added) {
            int64_t& time = m_atFileTimes[it->second];
            time = std::max(time, m_atFileTimes[i]);
            continue;
        }
        if (kept != i) {
            m_astrFiles[kept] = std::move(m_astrFiles[i]);
            m_atFileTimes[kept] = m_atFileTimes[i];
        }
        ++kept;
    }
    m_astrFiles.resize(kept);
    m_atFileTimes.resize(kept);
    m_nIndexedFiles = kept;
}

void CStatsStore::ReserveFiles(size_t count) {
    m_astrFiles.reserve(m_astrFiles.size() + count);
    m_atFileTimes.reserve(m_atFileTimes.size() + count);
}

void CStatsStore::AppendLoadedFile(std::string path, int64_t time) {
    ++m_nRevision;
    m_astrFiles.push_back(std::move(path));
    m_atFileTimes.push_back(time);
}

std::optional<int64_t> CStatsStore::FileTime(const std::string& path) {
    IndexFiles();
    const auto it = m_fileIndex.find(path);
    if (it == m_fileIndex.end()) {
        return std::nullopt;
    }
    return m_atFileTimes[it->second];
}

void CStatsStore::RecordFileTime(const std::string& path, int64_t time) {
    IndexFiles();
    const auto [it, added] = m_fileIndex.try_emplace(path, m_astrFiles.size());
    if (added) {
        m_astrFiles.push_back(path);
        m_atFileTimes.push_back(time);
        ++m_nIndexedFiles;
        ++m_nRevision;
    } else if (m_atFileTimes[it->second] != time) {
        m_atFileTimes[it->second] = time;
        ++m_nRevision;
    }
}
