#include <array>
#include <memory>
#include <vector>

#include "history/CacheLayout.h"
#include "history/CachePathCodec.h"
#include "history/PlayerRecord.h"
#include "history/StatsStore.h"

namespace cache_layout {
namespace {

bool ExpectMarker(IByteSource& in, std::string_view marker) {
    std::array<char, 32> buffer{};
    return in.Read(buffer.data(), marker.size() + 1) &&
           std::memcmp(buffer.data(), marker.data(), marker.size() + 1) == 0;
}

template <class T>
bool ReadInt(IByteSource& in, T& value) {
    unsigned char bytes[sizeof(T)];
    if (!in.Read(bytes, sizeof(T))) {
        return false;
    }
    value = LoadLittleEndian<T>(bytes);
    return true;
}

// A fixed text field: its bytes up to the first NUL, all of them when there is none.
bool ReadField(IByteSource& in, size_t fieldSize, std::string& text) {
    std::array<char, kPathField> field{};
    if (!in.Read(field.data(), fieldSize)) {
        return false;
    }
    const void* nul = std::memchr(field.data(), 0, fieldSize);
    const size_t length =
        nul ? static_cast<size_t>(static_cast<const char*>(nul) - field.data()) : fieldSize;
    text.assign(field.data(), length);
    return true;
}

bool ReadHands(CStatsStore& store, IByteSource& in) {
    uint32_t count = 0;
    if (!ExpectMarker(in, kHandsMarker) || !ReadInt(in, count)) {
        return false;
    }
    // The declared count must fit the file before anything is allocated for it.
    if (count == 0 || count > kMaxHands || uint64_t{count} * 4 > in.Remaining()) {
        return false;
    }
    store.ReserveHands(count);
    std::vector<unsigned char> bytes(size_t{count} * 4);
    if (!in.Read(bytes.data(), bytes.size())) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        store.AddCountedHand(LoadLittleEndian<uint32_t>(&bytes[i * 4]));
    }
    return true;
}

bool ReadRecord(IByteSource& in, CPKR_PlayerRecord& record) {
    if constexpr (std::endian::native == std::endian::little) {
        return in.Read(&record, kRecordSize);
    } else {
        if (!ReadInt(in, record.m_nId)) {
            return false;
        }
        for (int32_t& counter : record.m_anCounters) {
            if (!ReadInt(in, counter)) {
                return false;
            }
        }
        return true;
    }
}

bool ReadPlayers(CStatsStore& store, IByteSource& in) {
    int32_t count = 0;
    if (!ExpectMarker(in, kPlayersMarker) || !ReadInt(in, count)) {
        return false;
    }
    const uint64_t minimum = uint64_t{static_cast<uint32_t>(count)} * (kNameField + kRecordSize) +
                             kStatsMarker.size() + 1;
    if (count <= 0 || count > kMaxPlayers || minimum > in.Remaining()) {
        return false;
    }
    store.ReservePlayers(static_cast<size_t>(count));
    std::string name;
    for (int32_t p = 0; p < count; ++p) {
        if (!ReadField(in, kNameField, name)) {
            return false;
        }
        store.AddPlayer(name);
    }
    if (!ExpectMarker(in, kStatsMarker)) {
        return false;
    }
    auto record = std::make_unique<CPKR_PlayerRecord>();
    for (int32_t p = 0; p < count; ++p) {
        if (!ReadRecord(in, *record)) {
            return false;
        }
        store.SetRecord(p, *record);
    }
    return true;
}

bool ReadFileCache(CStatsStore& store, IByteSource& in, const ICachePathCodec& paths) {
    uint32_t count = 0;
    if (!ExpectMarker(in, kFileCacheMarker) || !ReadInt(in, count)) {
        return false;
    }
    if (uint64_t{count} * (kPathField + 8) > in.Remaining()) {
        return false;
    }
    store.ReserveFiles(count);
    std::string path;
    for (uint32_t i = 0; i < count; ++i) {
        int64_t time = 0;
        if (!ReadField(in, kPathField, path) || !ReadInt(in, time)) {
            return false;
        }
        store.AppendLoadedFile(paths.Decode(path), time);
    }
    return true;
}

}  // namespace

bool ReadStore(CStatsStore& store, IByteSource& in, const ICachePathCodec& paths) {
    store.ResetStatistics();
    return ExpectMarker(in, kMagic) && ReadHands(store, in) && ReadPlayers(store, in) &&
           ReadFileCache(store, in, paths) && ExpectMarker(in, kEndMarker);
}

}  // namespace cache_layout
