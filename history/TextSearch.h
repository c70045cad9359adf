// Bounded substring search over hand history text. Positions are byte offsets; a match counts
// only when it lies wholly inside [from, to).
#pragma once

#include <string_view>

#include "history/ByteSearch.h"

constexpr size_t kNotFound = std::string_view::npos;

// First occurrence of `needle` starting at or after `from` and ending at or before `to`.
// Candidates are located by one byte of the needle, `anchor`, which should be one that is rare in
// the text; blank-led action words are found by the action scan instead.
inline size_t FindIn(std::string_view text, std::string_view needle, size_t from, size_t to,
                     size_t anchor = 0) noexcept {
    if (to > text.size()) {
        to = text.size();
    }
    if (needle.empty() || from >= to || to - from < needle.size() || anchor >= needle.size()) {
        return kNotFound;
    }
    return bytesearch::FindNeedle(text.data(), from, to - needle.size(), needle, anchor);
}

inline size_t FindFrom(std::string_view text, std::string_view needle, size_t from) noexcept {
    return FindIn(text, needle, from, text.size());
}
