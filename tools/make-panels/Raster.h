// In-memory pictures drawn by make-panels before they are encoded: a palette picture for the
// overlay panels and a picture with transparency for the application icon.
#pragma once

#include <cstdint>
#include <vector>

struct sRgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const sRgb&, const sRgb&) = default;
};

struct sRgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 0;  // 0 transparent, 255 opaque
};

// Up to 256 colours; pixels are palette indexes, rows top to bottom.
struct sPalettePicture {
    int width = 0;
    int height = 0;
    std::vector<sRgb> palette;
    std::vector<std::uint8_t> pixels;
};

// Square picture with straight (not premultiplied) alpha, rows top to bottom.
struct sRgbaPicture {
    int size = 0;
    std::vector<sRgba> pixels;
};
