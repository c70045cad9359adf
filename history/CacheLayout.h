// Byte layout of the statistics cache file: markers, field sizes and limits, little-endian
// integers, and the sequential readers the loader works through.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

class CStatsStore;
class ICachePathCodec;

namespace cache_layout {

// Every marker is stored with its terminating NUL.
inline constexpr std::string_view kMagic = "Lanternquill_DEMOCACHEO05\n";
inline constexpr std::string_view kHandsMarker = "Lanternquill_HANDS\n";
inline constexpr std::string_view kPlayersMarker = "Lanternquill_PLAYERS\n";
inline constexpr std::string_view kStatsMarker = "Lanternquill_STATS\n";
inline constexpr std::string_view kFileCacheMarker = "Lanternquill_FILECACHE\n";
inline constexpr std::string_view kEndMarker = "Lanternquill_ENDOFDATA\n";

inline constexpr size_t kNameField = 24;
inline constexpr size_t kPathField = 256;
inline constexpr size_t kRecordSize = 10564;
inline constexpr uint32_t kMaxHands = 3000000;
inline constexpr int32_t kMaxPlayers = 1000000;

// A path (in its stored form) longer than its field cannot be stored without losing its end;
// such file-cache entries are left out (the file is then simply looked at again by the next full
// import).
inline bool FitsPathField(const std::string& path) noexcept {
    return path.size() <= kPathField;
}

template <class T>
void StoreLittleEndian(T value, unsigned char* out) noexcept {
    static_assert(std::is_integral_v<T>);
    auto u = static_cast<std::make_unsigned_t<T>>(value);
    for (size_t i = 0; i < sizeof(T); ++i) {
        out[i] = static_cast<unsigned char>(u >> (8 * i));
    }
}

template <class T>
T LoadLittleEndian(const unsigned char* in) noexcept {
    static_assert(std::is_integral_v<T>);
    std::make_unsigned_t<T> u = 0;
    for (size_t i = 0; i < sizeof(T); ++i) {
        u |= static_cast<std::make_unsigned_t<T>>(in[i]) << (8 * i);
    }
    return static_cast<T>(u);
}

// A sequence of bytes of known total length, read front to back.
class IByteSource {
public:
    explicit IByteSource(uint64_t size) : m_size(size) {}
    virtual ~IByteSource() = default;
    // Reads exactly `size` bytes; false (and nothing consumed) when fewer remain.
    bool Read(void* out, size_t size) {
        if (size > Remaining() || !ReadRaw(out, size)) {
            return false;
        }
        m_consumed += size;
        return true;
    }
    [[nodiscard]] uint64_t Remaining() const noexcept { return m_size - m_consumed; }

protected:
    virtual bool ReadRaw(void* out, size_t size) = 0;

private:
    uint64_t m_size;
    uint64_t m_consumed = 0;
};

class CFileByteSource final : public IByteSource {
public:
    CFileByteSource(std::FILE* file, uint64_t size) : IByteSource(size), m_file(file) {}

private:
    bool ReadRaw(void* out, size_t size) override {
        return std::fread(out, 1, size, m_file) == size;
    }
    std::FILE* m_file;
};

class CMemoryByteSource final : public IByteSource {
public:
    CMemoryByteSource(const unsigned char* data, size_t size) : IByteSource(size), m_data(data) {}

private:
    bool ReadRaw(void* out, size_t size) override {
        if (size > 0) {
            std::memcpy(out, m_data, size);
            m_data += size;
        }
        return true;
    }
    const unsigned char* m_data;
};

// Reads a whole cache image into the (emptied) store, file-cache paths decoded by `paths`. False
// as soon as anything does not match the layout; the store may then hold part of the image and
// must be reset by the caller.
bool ReadStore(CStatsStore& store, IByteSource& in, const ICachePathCodec& paths);

}  // namespace cache_layout
