#include "history/StatsCache.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "history/CacheFileGuard.h"
#include "history/CacheLayout.h"
#include "history/StatsStore.h"
#include "platform/FileIo.h"
#include "platform/Utf8Path.h"

namespace {

using namespace cache_layout;

// The C library's reason for the last failed call (an I/O error when it gave none).
std::error_code SystemError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Sequential writer with one large stdio buffer, so the file is written in big blocks rather
// than one system call per field.
class CCacheWriter {
public:
    explicit CCacheWriter(std::FILE* file) : m_file(file) {
        std::setvbuf(m_file, nullptr, _IOFBF, 1 << 20);
    }
    void Bytes(const void* data, size_t size) {
        if (m_ok && size > 0 && std::fwrite(data, 1, size, m_file) != size) {
            m_ok = false;
            m_error = SystemError();
        }
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
    [[nodiscard]] bool Ok() const noexcept { return m_ok; }
    [[nodiscard]] std::error_code Error() const noexcept { return m_error; }

private:
    std::FILE* m_file;
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
    return out.Ok();
}

}  // namespace

bool SaveStatsCache(const CStatsStore& store, const std::string& fileName, std::error_code& error,
                    const ICachePathCodec& paths) {
    // Write beside the real file and swap it in only when everything was written, so a failure
    // half-way (full disk, crash) leaves the previous cache as it was.
    // Only a file is ever replaced: a folder of that name is left as it is.
    const std::filesystem::file_status status =
        std::filesystem::status(PathFromUtf8(fileName), error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error =
            std::make_error_code(std::filesystem::is_directory(status) ? std::errc::is_a_directory
                                                                       : std::errc::file_exists);
        return false;
    }
    // A file of the user's that happens to bear the temporary name is not written over.
    const std::optional<std::string> tempName = CacheTempName(fileName);
    if (!tempName) {
        error = std::make_error_code(std::errc::file_exists);
        return false;
    }
    const std::string& temp = *tempName;
    error.clear();
    errno = 0;
    if (UniqueFile file{OpenFileUtf8(temp, "wb")}) {
        CCacheWriter out(file.get());
        const bool written = WriteStore(store, out, paths);
        error = written ? std::error_code() : out.Error();
        errno = 0;
        // Closing writes what is still buffered: a full disk often shows only here.
        if (std::fclose(file.release()) != 0 && written) {
            error = SystemError();
        }
    } else {
        error = SystemError();
        return false;
    }
    if (!error) {
        std::filesystem::rename(PathFromUtf8(temp), PathFromUtf8(fileName), error);
        if (!error) {
            return true;
        }
    }
    std::error_code ignored;
    std::filesystem::remove(PathFromUtf8(temp), ignored);
    return false;
}

eCacheLoad LoadStatsCacheEx(CStatsStore& store, const std::string& fileName,
                            bool setAsideIfRejected, const ICachePathCodec& paths) {
    std::error_code ec;
    const std::filesystem::path path = PathFromUtf8(fileName);
    // A folder of that name opens for reading on some systems; it is no cache file and must
    // never be moved or replaced.
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        return eCacheLoad::NotOpened;
    }
    UniqueFile file{OpenFileUtf8(fileName, "rb")};
    if (!file) {
        return eCacheLoad::NotOpened;
    }
    const auto size = std::filesystem::file_size(path, ec);
    bool loaded = false;
    if (!ec) {
        std::setvbuf(file.get(), nullptr, _IOFBF, 1 << 20);
        CFileByteSource source(file.get(), size);
        loaded = ReadStore(store, source, paths);
    }
    file.reset();
    if (loaded) {
        return eCacheLoad::Loaded;
    }
    store.ResetStatistics();
    if (setAsideIfRejected) {
        // Kept for a look or a rescue; when even that fails, the next save replaces it.
        SetAsideRejectedCache(fileName, ec);
    }
    return eCacheLoad::Rejected;
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
