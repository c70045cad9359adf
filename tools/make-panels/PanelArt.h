// The overlay panel: a navy rectangle with bevelled corners and a blue-violet frame about three
// pixels wide. The pixels cut off at the corners are pure black, the colour key that makes them
// see-through on a transparent overlay, so the panel looks rounded.
#pragma once

#include "tools/make-panels/Raster.h"

inline constexpr sRgb kPanelFill{11, 9, 33};
inline constexpr sRgb kPanelKey{0, 0, 0};
inline constexpr sRgb kFrameMain{95, 92, 175};
inline constexpr sRgb kFrameLightTop{118, 116, 220};
inline constexpr sRgb kFrameLightBottom{100, 98, 186};
inline constexpr sRgb kShadowTop{33, 31, 72};
inline constexpr sRgb kShadowBottom{38, 35, 79};

// Black pixels cut off per corner: the top corners lose a 5-pixel step triangle (15 pixels), the
// bottom corners a 4-pixel one (10 pixels), 50 in all.
inline constexpr int kTopBevel = 5;
inline constexpr int kBottomBevel = 4;

sPalettePicture DrawPanel(int width, int height);
