#include "history/StatsCache.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "history/CacheFileGuard.h"
#include "history/CacheLayout.h"
#include "history/CacheLock.h"
#include "history/StatsStore.h"
#include "platform/DurableFiles.h"
#include "platform/Utf8Path.h"

namespace {

using namespace cache_layout;

// Sequential writer with one large buffer of its own, so the file is written in big blocks
// rather than one system call per field. The first failure stops it and is kept.
class CCacheWriter {
public:
    explicit CCacheWriter(IFileWriter& file) : m_file(file) { m_buffer.reserve(kBufferSize); }
    void Bytes(const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        if (m_buffer.size() + size > kBufferSize) {
            Drain();
        }
        if (size >= kBufferSize) {
            if (m_ok) {
                m_ok = m_file.Write(bytes, size, m_error);
            }
            return;
        }
        m_buffer.insert(m_buffer.end(), bytes, bytes + size);
    }
    void Marker(std::string_view marker) { Bytes(marker.data(), marker.size() + 1); }
    template <class T>
    void Int(T value) {
        unsigned char bytes[sizeof(T)];
        StoreLittleEndian(value, bytes);
        Bytes(bytes, sizeof(T));
    }
    // `text` in a fixed field: its bytes (at most the field's size), then zeros.
    void Field(std::string_view text, size_t fieldSize) {
        std::array<char, kPathField> field{};
        std::memcpy(field.data(), text.data(), std::min(text.size(), fieldSize));
        Bytes(field.data(), fieldSize);
    }
    // Writes what is still buffered; false when anything failed.
    bool Finish() {
        Drain();
        return m_ok;
    }
    [[nodiscard]] std::error_code Error() const noexcept { return m_error; }

private:
    static constexpr size_t kBufferSize = size_t{1} << 20;
    void Drain() {
        if (m_ok && !m_buffer.empty()) {
            m_ok = m_file.Write(m_buffer.data(), m_buffer.size(), m_error);
        }
        m_buffer.clear();
    }

    IFileWriter& m_file;
    std::vector<unsigned char> m_buffer;
    bool m_ok = true;
    std::error_code m_error;
};

void WriteRecord(CCacheWriter& out, const CPKR_PlayerRecord& record) {
    if constexpr (std::endian::native == std::endian::little) {
        out.Bytes(&record, sizeof(record));
    } else {
        out.Int(record.m_nId);
        for (int32_t counter : record.m_anCounters) {
            out.Int(counter);
        }
    }
}

// The file-cache entries as stored: encoded paths with their times, leaving out the paths that
// cannot be stored.
std::vector<std::pair<std::string, int64_t>> StoredFileCache(const CStatsStore& store,
                                                             const ICachePathCodec& paths) {
    std::vector<std::pair<std::string, int64_t>> entries;
    entries.reserve(store.Files().size());
    for (size_t i = 0; i < store.Files().size(); ++i) {
        std::optional<std::string> stored = paths.Encode(store.Files()[i]);
        if (stored && FitsPathField(*stored)) {
            entries.emplace_back(std::move(*stored), store.FileTimes()[i]);
        }
    }
    return entries;
}

bool WriteStore(const CStatsStore& store, CCacheWriter& out, const ICachePathCodec& paths) {
    out.Marker(kMagic);
    out.Marker(kHandsMarker);
    const auto& hands = store.CountedHands();
    out.Int(static_cast<uint32_t>(hands.size()));
    for (uint32_t hand : hands) {
        out.Int(hand);
    }
    out.Marker(kPlayersMarker);
    out.Int(store.PlayerCount());
    for (int p = 0; p < store.PlayerCount(); ++p) {
        out.Field(store.PlayerName(p), kNameField);
    }
    out.Marker(kStatsMarker);
    auto record = std::make_unique<CPKR_PlayerRecord>();
    for (int p = 0; p < store.PlayerCount(); ++p) {
        store.GetRecord(p, *record);
        WriteRecord(out, *record);
    }
    out.Marker(kFileCacheMarker);
    const auto fileCache = StoredFileCache(store, paths);
    out.Int(static_cast<uint32_t>(fileCache.size()));
    for (const auto& [path, time] : fileCache) {
        out.Field(path, kPathField);
        out.Int(time);
    }
    out.Marker(kEndMarker);
    return out.Finish();
}

// Writes the store into the new temporary file and puts it on stable storage: every failure
// is reported in `error`, the file closed either way.
bool WriteTemporary(const CStatsStore& store, IFileWriter& file, const ICachePathCodec& paths,
                    std::error_code& error) {
    CCacheWriter out(file);
    bool ok = WriteStore(store, out, paths);
    error = out.Error();
    // Only data on the disk may replace the previous file: after a power cut a renamed file
    // whose data never reached the disk would be empty or cut.
    ok = ok && file.Flush(error);
    std::error_code closeError;
    if (!file.Close(closeError) && ok) {
        error = closeError;
        ok = false;
    }
    return ok;
}

}  // namespace

bool SaveStatsCache(const CStatsStore& store, const std::string& fileName, std::error_code& error,
                    const ICachePathCodec& paths, IDurableFiles& files) {
    // Write beside the real file and swap it in only when everything is on the disk, so a
    // failure half-way (full disk, crash, power cut) leaves the previous cache as it was.
    // Only a file is ever replaced: a folder of that name is left as it is.
    const std::filesystem::file_status status =
        std::filesystem::status(PathFromUtf8(fileName), error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error =
            std::make_error_code(std::filesystem::is_directory(status) ? std::errc::is_a_directory
                                                                       : std::errc::file_exists);
        return false;
    }
    error.clear();
    std::optional<sCacheTemp> temp = CreateCacheTemp(fileName, files, error);
    if (!temp) {
        return false;
    }
    if (WriteTemporary(store, *temp->file, paths, error) &&
        files.Replace(temp->name, fileName, error)) {
        // The new name must reach the disk as well; the data is in place whatever this says.
        std::error_code ignored;
        files.SyncFolder(CacheFolderOf(fileName), ignored);
        return true;
    }
    std::error_code ignored;
    files.RemoveIfUnheld(temp->name, ignored);
    return false;
}

sCacheLoadOutcome LoadStatsCacheFile(CStatsStore& store, const std::string& fileName,
                                     bool setAsideIfRejected, const ICachePathCodec& paths,
                                     IDurableFiles& files) {
    sCacheLoadOutcome outcome;
    const std::filesystem::path path = PathFromUtf8(fileName);
    // A folder of that name opens for reading on some systems; it is no cache file and must
    // never be moved or replaced.
    const std::filesystem::file_status status = std::filesystem::status(path, outcome.error);
    if (!std::filesystem::exists(status)) {
        // Nothing there, or nothing that can be told: a folder on the way that may not be
        // listed is no proof that no cache is there.
        if (outcome.error && outcome.error != std::errc::no_such_file_or_directory) {
            outcome.result = eCacheLoad::Unreadable;
        } else {
            outcome.error.clear();
        }
        return outcome;
    }
    outcome.error.clear();
    if (!std::filesystem::is_regular_file(status)) {
        return outcome;
    }
    // From here on a file is there: what cannot be read of it says nothing about its content.
    outcome.result = eCacheLoad::Unreadable;
    std::unique_ptr<IFileReader> file = files.OpenRead(fileName, outcome.error);
    uint64_t size = 0;
    if (!file || !file->Size(size, outcome.error)) {
        return outcome;
    }
    CFileByteSource source(*file, size);
    const bool loaded = ReadStore(store, source, paths);
    file.reset();  // an open file cannot be moved on Windows
    if (loaded) {
        outcome.result = eCacheLoad::Loaded;
        return outcome;
    }
    store.ResetStatistics();
    if (source.ReadError()) {
        outcome.error = source.ReadError();
        return outcome;
    }
    outcome.result = eCacheLoad::Rejected;
    if (setAsideIfRejected) {
        // Kept for a look or a rescue under a name of its own.
        if (std::optional<std::string> keptAs =
                SetAsideRejectedCache(fileName, outcome.error, files)) {
            outcome.setAsideAs = std::move(*keptAs);
        }
    }
    return outcome;
}

eCacheLoad LoadStatsCacheEx(CStatsStore& store, const std::string& fileName,
                            bool setAsideIfRejected, const ICachePathCodec& paths) {
    return LoadStatsCacheFile(store, fileName, setAsideIfRejected, paths).result;
}

bool LoadStatsCacheImage(CStatsStore& store, const unsigned char* data, size_t size,
                         const ICachePathCodec& paths) {
    CMemoryByteSource source(data, size);
    if (ReadStore(store, source, paths)) {
        return true;
    }
    store.ResetStatistics();
    return false;
}
