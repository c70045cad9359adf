#include "Measurements.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <utility>

#include "ProcessInfo.h"
#include "history/GameTypes.h"
#include "history/HistoryParser.h"
#include "history/StatsCache.h"
#include "history/StatsStore.h"
#include "platform/DurableFiles.h"

namespace bench {

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void FillSyntheticStore(CStatsStore& store, sSyntheticSize size) {
    const auto [players, hands, files] = size;
    store.ReservePlayers(static_cast<size_t>(players));
    for (int32_t i = 0; i < players; ++i) {
        const int32_t player = store.AddPlayer("BenchPlayer" + std::to_string(i));
        // Two buckets per player, as a regular of one game at two table sizes would have.
        const auto game = static_cast<eGameType>(i % GAME_MAX);
        const auto stake = static_cast<eStakeLevel>(STAKE_10NL + i % 7);
        for (const sBucketKey bucket :
             {sBucketKey{game, stake, SIZE_3TO6}, sBucketKey{game, stake, SIZE_7TO10}}) {
            int32_t* counters = store.CounterBlock(player, bucket);
            for (int k = 0; k < CNT_MAX; ++k) {
                counters[k] += (i + k) % 50 + 1;
            }
        }
    }
    store.ReserveHands(static_cast<size_t>(hands));
    for (int32_t h = 0; h < hands; ++h) {
        store.AddCountedHand(2433297728u + static_cast<uint32_t>(h) * 3u);
    }
    for (int32_t f = 0; f < files; ++f) {
        store.AppendLoadedFile(
            R"(C:\Program Files\PKR\handhistory\Hero\20240315\Table )" + std::to_string(f) + ".txt",
            1710460800 + f);
    }
}

// The system's files with the flush to stable storage left out, to show what it costs.
class CUnflushedFiles final : public IDurableFiles {
public:
    std::unique_ptr<IFileReader> OpenRead(const std::string& path,
                                          std::error_code& error) override {
        return m_files.OpenRead(path, error);
    }
    std::unique_ptr<IFileWriter> CreateNew(const std::string& path,
                                           std::error_code& error) override {
        std::unique_ptr<IFileWriter> file = m_files.CreateNew(path, error);
        return file ? std::make_unique<CUnflushedWriter>(std::move(file)) : nullptr;
    }
    bool RemoveIfUnheld(const std::string& path, std::error_code& error) override {
        return m_files.RemoveIfUnheld(path, error);
    }
    bool Replace(const std::string& from, const std::string& to, std::error_code& error) override {
        return m_files.Replace(from, to, error);
    }
    bool MoveNoReplace(const std::string& from, const std::string& to,
                       std::error_code& error) override {
        return m_files.MoveNoReplace(from, to, error);
    }
    bool SyncFolder(const std::string& /*folder*/, std::error_code& /*error*/) override {
        return true;
    }

private:
    class CUnflushedWriter final : public IFileWriter {
    public:
        explicit CUnflushedWriter(std::unique_ptr<IFileWriter> file) : m_file(std::move(file)) {}
        bool Write(const void* data, size_t size, std::error_code& error) override {
            return m_file->Write(data, size, error);
        }
        bool Flush(std::error_code& /*error*/) override { return true; }
        bool Close(std::error_code& error) override { return m_file->Close(error); }

    private:
        std::unique_ptr<IFileWriter> m_file;
    };
    IDurableFiles& m_files = SystemDurableFiles();
};

}  // namespace

sParseMeasurement MeasureParse(const sCorpus& corpus) {
    sParseMeasurement result;
    CStatsStore store;
    const auto start = std::chrono::steady_clock::now();
    ParseHistoryFiles(store, corpus.files, nullptr);
    result.seconds = SecondsSince(start);
    result.handsCounted = static_cast<int64_t>(store.CountedHands().size());
    result.players = store.PlayerCount();
    result.peakBytes = PeakResidentBytes();
    return result;
}

sCacheMeasurement MeasureCache(sSyntheticSize size, const std::string& folder) {
    sCacheMeasurement result;
    const std::string path = (std::filesystem::path(folder) / kCacheFileName).string();
    {
        CStatsStore store;
        FillSyntheticStore(store, size);
        // Without the flush first, so that both saves replace a file of the same size.
        CUnflushedFiles unflushed;
        std::error_code error;
        auto start = std::chrono::steady_clock::now();
        bool saved = SaveStatsCache(store, path, error, SystemCachePathCodec(), unflushed);
        result.unflushedSaveSeconds = SecondsSince(start);
        start = std::chrono::steady_clock::now();
        saved = saved && SaveStatsCache(store, path, error);
        result.saveSeconds = SecondsSince(start);
        if (!saved) {
            return result;
        }
    }
    std::error_code ec;
    result.fileBytes = static_cast<int64_t>(std::filesystem::file_size(path, ec));

    CStatsStore loaded;
    const auto start = std::chrono::steady_clock::now();
    const bool ok =
        LoadStatsCacheEx(loaded, path, /*setAsideIfRejected=*/false) == eCacheLoad::Loaded;
    result.loadSeconds = SecondsSince(start);
    result.players = loaded.PlayerCount();
    result.ok = ok && loaded.PlayerCount() == size.players &&
                loaded.CountedHands().size() == static_cast<size_t>(size.hands);
    std::filesystem::remove(path, ec);
    return result;
}

}  // namespace bench
