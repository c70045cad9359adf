#include "tools/lanternquill/TextWidth.h"

#include <algorithm>
#include <array>

namespace {

struct sRange {
    char32_t first;
    char32_t last;
};

// Code points that take no column: combining marks, zero-width and direction characters,
// variation selectors, emoji skin tone modifiers (they merge into the emoji before them), tags.
constexpr std::array<sRange, 15> kZeroWidth = {{
    {0x0300, 0x036F},
    {0x0483, 0x0489},
    {0x0591, 0x05BD},
    {0x0610, 0x061A},
    {0x064B, 0x065F},
    {0x1160, 0x11FF},
    {0x1AB0, 0x1AFF},
    {0x1DC0, 0x1DFF},
    {0x200B, 0x200F},
    {0x202A, 0x202E},
    {0x2060, 0x2064},
    {0x20D0, 0x20FF},
    {0xFE00, 0xFE0F},
    {0xFE20, 0xFE2F},
    {0x1F3FB, 0x1F3FF},
}};

// East Asian wide and full-width characters and the emoji terminals draw two columns wide.
constexpr std::array<sRange, 40> kWide = {{
    {0x1100, 0x115F}, {0x231A, 0x231B}, {0x2329, 0x232A},   {0x23E9, 0x23EC},   {0x23F0, 0x23F0},
    {0x23F3, 0x23F3}, {0x25FD, 0x25FE}, {0x2614, 0x2615},   {0x2648, 0x2653},   {0x267F, 0x267F},
    {0x2693, 0x2693}, {0x26A1, 0x26A1}, {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},
    {0x26CE, 0x26CE}, {0x26D4, 0x26D4}, {0x26EA, 0x26EA},   {0x26F2, 0x26F5},   {0x26FA, 0x26FD},
    {0x2705, 0x2705}, {0x270A, 0x270B}, {0x2728, 0x2728},   {0x274C, 0x274E},   {0x2753, 0x2757},
    {0x2795, 0x2797}, {0x27B0, 0x27BF}, {0x2B1B, 0x2B1C},   {0x2B50, 0x2B55},   {0x2E80, 0xA4CF},
    {0xA960, 0xA97F}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},
    {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x16FE0, 0x1B2FF}, {0x1F004, 0x1FAFF}, {0x20000, 0x3FFFD},
}};

template <size_t N>
bool InRanges(const std::array<sRange, N>& ranges, char32_t codePoint) noexcept {
    const auto after =
        std::upper_bound(ranges.begin(), ranges.end(), codePoint,
                         [](char32_t value, const sRange& range) { return value < range.first; });
    return after != ranges.begin() && codePoint <= std::prev(after)->last;
}

// What a terminal draws as one unit at `pos`: a UTF-8 character, or a single byte that is not
// part of one.
struct sPiece {
    size_t length;
    int width;
};

sPiece PieceAt(std::string_view text, size_t pos) noexcept {
    const size_t length = Utf8SequenceLength(text, pos);
    if (length == 0) {
        return {1, 1};
    }
    const auto lead = static_cast<unsigned char>(text[pos]);
    auto codePoint = static_cast<char32_t>(lead & (0x7F >> length));
    for (size_t i = 1; i < length; ++i) {
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    }
    return {length, CodePointWidth(codePoint)};
}

}  // namespace

size_t Utf8SequenceLength(std::string_view text, size_t pos) noexcept {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (pos + length > text.size() || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

int CodePointWidth(char32_t codePoint) noexcept {
    if (codePoint >= 0xE0000 && codePoint <= 0xE01EF) {
        return 0;  // tags and supplementary variation selectors
    }
    if (InRanges(kZeroWidth, codePoint)) {
        return 0;
    }
    return InRanges(kWide, codePoint) ? 2 : 1;
}

size_t DisplayWidth(std::string_view text) noexcept {
    size_t width = 0;
    for (size_t pos = 0; pos < text.size();) {
        const sPiece piece = PieceAt(text, pos);
        width += static_cast<size_t>(piece.width);
        pos += piece.length;
    }
    return width;
}

std::string FitToWidth(std::string_view text, size_t columns, eKeep keep) {
    if (DisplayWidth(text) <= columns) {
        return std::string(text);
    }
    const size_t room = columns > 0 ? columns - 1 : 0;  // one column for the mark
    if (keep == eKeep::Start) {
        size_t end = 0;
        for (size_t used = 0; end < text.size();) {
            const sPiece piece = PieceAt(text, end);
            if (used + static_cast<size_t>(piece.width) > room) {
                break;
            }
            used += static_cast<size_t>(piece.width);
            end += piece.length;
        }
        return std::string(text.substr(0, end)) + "~";
    }
    // Keeping the end: walk from the start and drop pieces until the rest fits.
    size_t start = 0;
    size_t rest = DisplayWidth(text);
    while (start < text.size() && rest > room) {
        const sPiece piece = PieceAt(text, start);
        rest -= static_cast<size_t>(piece.width);
        start += piece.length;
    }
    return "~" + std::string(text.substr(start));
}
