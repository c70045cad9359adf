// Screen rectangles, points and sizes in pixels, laid out like the Win32 RECT and POINT so the
// Windows side can copy them field by field.
#pragma once

#include <cstdint>

// left/top inclusive, right/bottom exclusive.
struct sRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    // Widened so that extreme stored values cannot overflow.
    [[nodiscard]] constexpr int64_t Width() const { return int64_t{right} - left; }
    [[nodiscard]] constexpr int64_t Height() const { return int64_t{bottom} - top; }
    friend constexpr bool operator==(const sRect&, const sRect&) = default;
};

struct sPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend constexpr bool operator==(const sPoint&, const sPoint&) = default;
};

// The extent of a screen or window.
struct sSize {
    int32_t width = 0;
    int32_t height = 0;
    friend constexpr bool operator==(const sSize&, const sSize&) = default;
};
