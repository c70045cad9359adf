// Byte searches and comparisons for the hot paths of the history engine, written out here
// rather than taken from the C runtime: the Windows build links a runtime whose memchr and
// memcmp look at one byte at a time, which made the same parser several times slower there
// than on Linux. SSE2 is part of every x86-64 processor; other targets take the plain loops,
// which give the same results.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bytesearch {

// True when the `n` bytes at `a` and at `b` are equal. (std::memcpy of a fixed 8 bytes compiles
// to a plain load; it never reaches the runtime.)
inline bool BytesEqual(const char* a, const char* b, size_t n) noexcept {
    for (; n >= 8; a += 8, b += 8, n -= 8) {
        uint64_t x = 0;
        uint64_t y = 0;
        std::memcpy(&x, a, 8);
        std::memcpy(&y, b, 8);
        if (x != y) {
            return false;
        }
    }
    for (; n > 0; ++a, ++b, --n) {
        if (*a != *b) {
            return false;
        }
    }
    return true;
}

#if defined(__SSE2__)
// Bit i set when byte i of the 16 at `at` equals the byte in every lane of `key`.
inline unsigned MatchMask(const char* at, __m128i key) noexcept {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, key)));
}
#endif

// The first byte equal to `c` in [first, last), or nullptr. Never reads outside the range.
inline const char* FindByte(const char* first, const char* last, char c) noexcept {
#if defined(__SSE2__)
    const __m128i key = _mm_set1_epi8(c);
    // Long stretches without the byte (a NUL check over a whole file, a rare anchor byte) go
    // 64 bytes at a time; the block with a hit is then looked at 16 bytes at a time.
    while (last - first >= 64) {
        const auto* p = reinterpret_cast<const __m128i*>(first);
        const __m128i any = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(_mm_loadu_si128(p), key),
                                                      _mm_cmpeq_epi8(_mm_loadu_si128(p + 1), key)),
                                         _mm_or_si128(_mm_cmpeq_epi8(_mm_loadu_si128(p + 2), key),
                                                      _mm_cmpeq_epi8(_mm_loadu_si128(p + 3), key)));
        if (_mm_movemask_epi8(any) != 0) {
            break;
        }
        first += 64;
    }
    for (; last - first >= 16; first += 16) {
        if (const unsigned mask = MatchMask(first, key); mask != 0) {
            return first + std::countr_zero(mask);
        }
    }
#endif
    for (; first < last; ++first) {
        if (*first == c) {
            return first;
        }
    }
    return nullptr;
}

// The first position p in [from, lastStart] at which `needle` (not empty) stands in `base`;
// `lastStart + needle.size()` must not pass the end of the readable bytes. Candidates are the
// positions whose byte at `anchor` and whose last byte (first byte when the anchor is the last)
// both match, sixteen positions at a time; the rare anchor byte alone rules out most blocks.
inline size_t FindNeedle(const char* base, size_t from, size_t lastStart, std::string_view needle,
                         size_t anchor) noexcept {
    const size_t length = needle.size();
    const size_t other = anchor + 1 == length ? 0 : length - 1;
    const char anchorByte = needle[anchor];
    const char otherByte = needle[other];
    size_t pos = from;
#if defined(__SSE2__)
    const __m128i anchorKey = _mm_set1_epi8(anchorByte);
    const __m128i otherKey = _mm_set1_epi8(otherByte);
    // A block covers the starts pos..pos+15, whose bytes end before lastStart + length.
    for (; lastStart >= 15 && pos <= lastStart - 15; pos += 16) {
        unsigned mask = MatchMask(base + pos + anchor, anchorKey);
        if (mask == 0) {
            continue;
        }
        mask &= MatchMask(base + pos + other, otherKey);
        for (; mask != 0; mask &= mask - 1) {
            const size_t start = pos + static_cast<size_t>(std::countr_zero(mask));
            if (BytesEqual(base + start, needle.data(), length)) {
                return start;
            }
        }
    }
#endif
    for (; pos <= lastStart; ++pos) {
        if (base[pos + anchor] == anchorByte && base[pos + other] == otherByte &&
            BytesEqual(base + pos, needle.data(), length)) {
            return pos;
        }
    }
    return std::string_view::npos;
}

}  // namespace bytesearch
