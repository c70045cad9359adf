// Byte layout of the statistics cache file: markers, field sizes and limits, little-endian
// integers, and the sequential readers the loader works through.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <vector>

#include "platform/DurableFiles.h"

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
    // Reads exactly `size` bytes; false (and nothing consumed) when fewer remain or the read
    // failed (ReadError then tells why).
    bool Read(void* out, size_t size) {
        if (size > Remaining() || !ReadRaw(out, size)) {
            return false;
        }
        m_consumed += size;
        return true;
    }
    [[nodiscard]] uint64_t Remaining() const noexcept { return m_size - m_consumed; }
    // Set when a read failed although the data was there: the bytes could not be read, which
    // says nothing about what they hold.
    [[nodiscard]] virtual std::error_code ReadError() const { return {}; }

protected:
    virtual bool ReadRaw(void* out, size_t size) = 0;

private:
    uint64_t m_size;
    uint64_t m_consumed = 0;
};

// A file of `size` bytes (its length when it was opened), read through a buffer of its own so
// that the many small fields cost few system calls. A read that comes back short is an error
// even when the system reports none: the file was cut while it was read.
class CFileByteSource final : public IByteSource {
public:
    CFileByteSource(IFileReader& file, uint64_t size) : IByteSource(size), m_file(file) {}
    [[nodiscard]] std::error_code ReadError() const override { return m_error; }

private:
    static constexpr size_t kBufferSize = size_t{1} << 20;

    bool ReadRaw(void* out, size_t size) override {
        auto* bytes = static_cast<unsigned char*>(out);
        while (size > 0) {
            if (m_next == m_buffer.size()) {
                if (m_error) {
                    return false;  // what came before the error was handed out, nothing more
                }
                if (size >= kBufferSize) {
                    return ReadExactly(bytes, size);
                }
                m_buffer.resize(kBufferSize);
                const size_t got = m_file.Read(m_buffer.data(), kBufferSize, m_error);
                m_buffer.resize(got);
                m_next = 0;
                if (got == 0) {
                    return Failed();
                }
            }
            const size_t take = std::min(size, m_buffer.size() - m_next);
            std::memcpy(bytes, m_buffer.data() + m_next, take);
            m_next += take;
            bytes += take;
            size -= take;
        }
        return true;
    }
    bool ReadExactly(unsigned char* out, size_t size) {
        return m_file.Read(out, size, m_error) == size || Failed();
    }
    bool Failed() {
        if (!m_error) {
            m_error = std::make_error_code(std::errc::io_error);
        }
        return false;
    }

    IFileReader& m_file;
    std::vector<unsigned char> m_buffer;
    size_t m_next = 0;  // the first byte of m_buffer not handed out yet
    std::error_code m_error;
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
