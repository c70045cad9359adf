#include "tools/make-panels/IconArt.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "tools/make-panels/PanelArt.h"

namespace {

constexpr sRgb kGlassGlow{236, 164, 58};
constexpr sRgb kFlame{255, 238, 160};

// Signed distance from (u, v) to a rounded square centred in the unit square: negative inside.
double RoundedSquareDistance(double u, double v, double halfSize, double radius) {
    const double qx = std::abs(u - 0.5) - (halfSize - radius);
    const double qy = std::abs(v - 0.5) - (halfSize - radius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

// The lantern, front to back; nothing when (u, v) misses it.
std::optional<sRgb> LanternAt(double u, double v) {
    const double dx = std::abs(u - 0.5);
    const double handle = std::hypot(u - 0.5, v - 0.29);
    if (v < 0.29 && handle > 0.075 && handle < 0.125) {
        return kFrameLightTop;
    }
    if (v >= 0.27 && v < 0.36 && dx < 0.12 + (v - 0.27) * 0.9) {  // cap, widening downwards
        return kFrameLightTop;
    }
    if (v >= 0.70 && v < 0.79 && dx < 0.21) {  // base
        return kFrameLightTop;
    }
    if (v >= 0.36 && v < 0.70) {
        if (dx >= 0.13 && dx < 0.18) {  // the glass's two posts
            return kFrameMain;
        }
        const double flame = std::hypot((u - 0.5) / 0.065, (v - 0.56) / 0.11);
        if (flame < 1.0) {
            return kFlame;
        }
        if (dx < 0.13) {
            return kGlassGlow;
        }
    }
    return std::nullopt;
}

std::optional<sRgb> ColourAt(double u, double v) {
    const double tile = RoundedSquareDistance(u, v, 0.47, 0.2);
    if (tile > 0.0) {
        return std::nullopt;
    }
    if (tile > -0.07) {
        return kFrameMain;
    }
    if (const auto lantern = LanternAt(u, v)) {
        return lantern;
    }
    return kPanelFill;
}

// Averages a grid of samples inside one pixel, so edges are smooth at 16 x 16 too.
sRgba SamplePixel(int x, int y, int size) {
    constexpr int kGrid = 4;
    double r = 0;
    double g = 0;
    double b = 0;
    int covered = 0;
    for (int sy = 0; sy < kGrid; ++sy) {
        for (int sx = 0; sx < kGrid; ++sx) {
            const double u = (x + (sx + 0.5) / kGrid) / size;
            const double v = (y + (sy + 0.5) / kGrid) / size;
            if (const auto colour = ColourAt(u, v)) {
                r += colour->r;
                g += colour->g;
                b += colour->b;
                ++covered;
            }
        }
    }
    if (covered == 0) {
        return {};
    }
    const auto average = [covered](double sum) {
        return static_cast<std::uint8_t>(std::lround(sum / covered));
    };
    return {average(r), average(g), average(b),
            static_cast<std::uint8_t>(covered * 255 / (kGrid * kGrid))};
}

}  // namespace

sRgbaPicture DrawIcon(int size) {
    sRgbaPicture picture;
    picture.size = size;
    picture.pixels.reserve(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            picture.pixels.push_back(SamplePixel(x, y, size));
        }
    }
    return picture;
}
