// How wide text is on a terminal, in columns. Player names and folder names come from files and
// arguments as bytes: usually UTF-8, sometimes an 8-bit code page, occasionally damaged. Each
// byte that does not belong to a valid UTF-8 sequence takes one column, as a terminal shows it
// either as its code page character or as a replacement mark.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Length of the valid UTF-8 sequence of two to four bytes starting at `pos`, or 0 when the byte
// there does not start one (overlong forms, surrogates and code points above U+10FFFF are
// invalid). ASCII bytes give 0 too: they are single bytes, not sequences.
[[nodiscard]] size_t Utf8SequenceLength(std::string_view text, size_t pos) noexcept;

// Columns of one code point: 2 for East Asian wide and full-width characters and emoji, 0 for
// combining marks, zero-width characters, variation selectors and skin tone modifiers, else 1.
[[nodiscard]] int CodePointWidth(char32_t codePoint) noexcept;

// Columns a terminal uses for the text.
[[nodiscard]] size_t DisplayWidth(std::string_view text) noexcept;

// Which end of a text that is too wide is kept.
enum class eKeep { Start, End };

// The text if it fits in `columns`, otherwise the part of it at the `keep` end that fits with a
// "~" marking the cut, never splitting a character. At least the mark is returned.
[[nodiscard]] std::string FitToWidth(std::string_view text, size_t columns,
                                     eKeep keep = eKeep::Start);
