// Bounded substring search over hand history text. Positions are byte offsets; a match counts
// only when it lies wholly inside [from, to).
#pragma once

#include <cstring>
#include <string_view>

constexpr size_t kNotFound = std::string_view::npos;

// First occurrence of `needle` starting at or after `from` and ending at or before `to`.
// Candidates are located with memchr on one byte of the needle, which is fast when that byte is
// rare in the text; blank-led action words are found by the action scan instead.
inline size_t FindIn(std::string_view text, std::string_view needle, size_t from, size_t to,
                     size_t anchor = 0) noexcept {
    if (to > text.size()) {
        to = text.size();
    }
    if (needle.empty() || from >= to || to - from < needle.size() || anchor >= needle.size()) {
        return kNotFound;
    }
    // Look for the anchor byte (choose one that is rare in the text) and compare around it.
    const char* base = text.data();
    const char key = needle[anchor];
    const size_t lastStart = to - needle.size();
    size_t pos = from;
    while (pos <= lastStart) {
        const void* hit = std::memchr(base + pos + anchor, key, lastStart - pos + 1);
        if (hit == nullptr) {
            return kNotFound;
        }
        pos = static_cast<size_t>(static_cast<const char*>(hit) - base) - anchor;
        if (std::memcmp(base + pos, needle.data(), needle.size()) == 0) {
            return pos;
        }
        ++pos;
    }
    return kNotFound;
}

inline size_t FindFrom(std::string_view text, std::string_view needle, size_t from) noexcept {
    return FindIn(text, needle, from, text.size());
}

// First occurrence of the two-byte pair `a b` at or after `from` and before `to`, located by
// its second byte (a blank followed by '-' or '(' is found by looking for the rarer second byte).
inline size_t FindPair(std::string_view text, char a, char b, size_t from, size_t to) noexcept {
    if (to > text.size()) {
        to = text.size();
    }
    const char* base = text.data();
    size_t pos = from + 1;  // position of the second byte
    while (pos < to) {
        const void* hit = std::memchr(base + pos, b, to - pos);
        if (hit == nullptr) {
            return kNotFound;
        }
        pos = static_cast<size_t>(static_cast<const char*>(hit) - base);
        if (base[pos - 1] == a) {
            return pos - 1;
        }
        ++pos;
    }
    return kNotFound;
}
