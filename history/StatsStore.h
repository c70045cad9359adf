// The process-wide statistics store: players, their counters, the numbers of the hands already
// counted, and the file cache of hand history files seen.
//
// Counters are kept sparsely: a player gets a block of 40 counters only for the
// (game, stake, size class) buckets he was actually counted in, found through a small per-player
// table of block numbers, so a player seen in one or two buckets costs about 600 bytes rather
// than a full 10 KB record, and finding a bucket is one lookup. The dense record of the cache
// file is produced and consumed by GetRecord / SetRecord.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "history/GameTypes.h"
#include "history/HandNumberSet.h"
#include "history/PlayerIndex.h"
#include "history/PlayerRecord.h"

class CStatsStore {
public:
    CStatsStore() = default;

    // Empties the store: no players, no counted hands, no file cache.
    void ResetStatistics();

    // Changes with every change of the content (players, counters, counted hands, file-cache
    // entries) and never goes back: a store whose revision equals one taken earlier holds what
    // it held then. A counter block handed out for writing counts as a change.
    [[nodiscard]] uint64_t Revision() const noexcept { return m_nRevision; }

    // Index of the player whose name equals `name` byte for byte (the lowest such index), or -1.
    [[nodiscard]] int32_t FindPlayer(std::string_view name) const noexcept {
        return m_index.Find(name, m_astrNames);
    }
    // Appends a player with all counters 0 and m_nId = the new index; returns the index. The caller
    // has made sure with FindPlayer that the name is new.
    int32_t AddPlayer(std::string_view name);
    // Appends a player with a given record id (the cache file keeps ids as written).
    int32_t AddPlayerWithId(std::string_view name, int32_t id);

    // Counter k of a player under the stake pooling rule: with `splitStakes` off, any no-limit
    // level reads the sum over all seven no-limit levels. A key or counter outside its range
    // (as an enum cast from a bad int can be) reads 0. Throws std::out_of_range for an invalid
    // player.
    [[nodiscard]] int GetCounter(int player, sBucketKey key, eCounter k, bool splitStakes) const;

    // A single stored counter without pooling; 0 for anything out of range.
    [[nodiscard]] int32_t RawCounter(int player, sBucketKey key, eCounter k) const noexcept;
    // The 40 counters of a bucket, or nullptr when the player has never been counted there (or
    // the player or key is out of range).
    [[nodiscard]] const int32_t* FindCounterBlock(int player, sBucketKey key) const noexcept;
    // The 40 counters of a bucket, created (all 0) when missing. Throws std::out_of_range for an
    // invalid player or key.
    int32_t* CounterBlock(int player, sBucketKey key);

    // Dense record of a player, for the cache file.
    void GetRecord(int player, CPKR_PlayerRecord& out) const;
    // Replaces a player's counters by those of a dense record (its id included).
    void SetRecord(int player, const CPKR_PlayerRecord& record);

    [[nodiscard]] int32_t PlayerCount() const noexcept { return m_nPlayers; }
    [[nodiscard]] const std::string& PlayerName(int player) const { return m_astrNames.at(player); }
    [[nodiscard]] int32_t PlayerId(int player) const { return m_anIds.at(player); }
    [[nodiscard]] bool IsValidPlayer(int player) const noexcept {
        return player >= 0 && player < m_nPlayers;
    }
    // Buckets in which a player has a counter block, in the order of their numbers.
    [[nodiscard]] std::vector<sBucketKey> PlayerBuckets(int player) const;

    // Counted hands, in the order they were counted.
    [[nodiscard]] bool IsHandCounted(uint32_t hand) const noexcept {
        return m_handSet.Contains(hand);
    }
    void AddCountedHand(uint32_t hand);
    [[nodiscard]] const std::vector<uint32_t>& CountedHands() const noexcept { return m_anHands; }
    void ReserveHands(size_t count);
    void ReservePlayers(size_t count);

    // File cache: full paths of the hand history files read and the last-write times they had
    // when they were read (seconds since 1970-01-01 UTC), one entry per path. The two arrays
    // always have the same length. The cache file loader appends to them through AppendLoadedFile;
    // everything else records a file through RecordFileTime, so that a path never gets a second
    // entry.
    [[nodiscard]] const std::vector<std::string>& Files() const noexcept { return m_astrFiles; }
    [[nodiscard]] const std::vector<int64_t>& FileTimes() const noexcept { return m_atFileTimes; }
    // Makes room for `count` more entries (the count a cache file announces).
    void ReserveFiles(size_t count);
    // Appends an entry exactly as a cache file holds it, repeated paths included: FileTime folds
    // them when they are first looked up.
    void AppendLoadedFile(std::string path, int64_t time);

    // The recorded time of `path`, or nothing when it has no entry. Cache files of earlier
    // versions can hold several entries for one path: they are folded into the first one with
    // the newest of their times (the file has been read at least up to then).
    [[nodiscard]] std::optional<int64_t> FileTime(const std::string& path);
    // Records that `path` was read as last written at `time`: its entry is updated in place, or
    // appended when the path has none.
    void RecordFileTime(const std::string& path, int64_t time);

private:
    struct sCounterBlock {
        int32_t counters[CNT_MAX];
    };
    static constexpr uint32_t kNoBlock = 0xFFFFFFFFu;
    [[nodiscard]] size_t SlotOf(int player, int bucket) const noexcept {
        return static_cast<size_t>(player) * BUCKET_COUNT + static_cast<size_t>(bucket);
    }
    // By bucket number, for the walks over a whole record; nullptr when absent.
    [[nodiscard]] const int32_t* BlockAt(int player, int bucket) const noexcept;
    int32_t* CreateBlockAt(int player, int bucket);
    // Brings m_fileIndex up to date with the file-cache arrays, folding repeated paths.
    void IndexFiles();

    int32_t m_nPlayers = 0;
    std::vector<std::string> m_astrNames;
    std::vector<int32_t> m_anIds;       // m_nId of each player's record
    std::vector<uint32_t> m_anBlockOf;  // BUCKET_COUNT entries per player: block or kNoBlock
    std::vector<sCounterBlock> m_blocks;
    CPlayerIndex m_index;

    std::vector<uint32_t> m_anHands;
    CHandNumberSet m_handSet;

    std::vector<std::string> m_astrFiles;
    std::vector<int64_t> m_atFileTimes;
    // Entry of each file-cache path; valid for the first m_nIndexedFiles entries (the loader
    // appends behind the index's back, which the count notices).
    std::unordered_map<std::string, size_t> m_fileIndex;
    size_t m_nIndexedFiles = 0;

    uint64_t m_nRevision = 0;
};
