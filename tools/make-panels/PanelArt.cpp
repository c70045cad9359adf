#include "tools/make-panels/PanelArt.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// How many pixel rings lie between (x, y) and the panel's outline: 0 on the outermost ring,
// negative for the cut-off corner pixels. The diagonal terms make the corner cuts.
int RingOf(int x, int y, int width, int height) {
    const int fromSide = std::min(x, width - 1 - x);
    const int fromTop = y;
    const int fromBottom = height - 1 - y;
    return std::min({fromSide, fromTop, fromBottom, fromSide + fromTop - kTopBevel,
                     fromSide + fromBottom - kBottomBevel});
}

sRgb Blend(sRgb top, sRgb bottom, int y, int height) {
    const double t = height > 1 ? static_cast<double>(y) / (height - 1) : 0.0;
    const auto mix = [t](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
    };
    return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b)};
}

// The frame is lit from above: the outer edge and the inner shadow both fade towards the bottom.
sRgb ColourOf(int ring, int y, int height) {
    if (ring < 0) {
        return kPanelKey;
    }
    switch (ring) {
        case 0:
            return Blend(kFrameLightTop, kFrameLightBottom, y, height);
        case 1:
            return kFrameMain;
        case 2:
            return Blend(kShadowTop, kShadowBottom, y, height);
        default:
            return kPanelFill;
    }
}

std::uint8_t PaletteIndex(std::vector<sRgb>& palette, sRgb colour) {
    const auto found = std::find(palette.begin(), palette.end(), colour);
    if (found != palette.end()) {
        return static_cast<std::uint8_t>(found - palette.begin());
    }
    if (palette.size() == 256) {
        throw std::runtime_error("panel needs more than 256 colours");
    }
    palette.push_back(colour);
    return static_cast<std::uint8_t>(palette.size() - 1);
}

}  // namespace

sPalettePicture DrawPanel(int width, int height) {
    sPalettePicture picture;
    picture.width = width;
    picture.height = height;
    picture.palette.push_back(kPanelKey);  // index 0, so unused entries never add a colour
    picture.pixels.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const sRgb colour = ColourOf(RingOf(x, y, width, height), y, height);
            picture.pixels.push_back(PaletteIndex(picture.palette, colour));
        }
    }
    return picture;
}
