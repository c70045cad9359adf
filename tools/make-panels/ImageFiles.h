// Encoders for the two Windows picture files the resource script embeds: an 8-bit BMP with a
// 256-entry palette (what LoadBitmap expects for the panels) and an .ico holding several sizes.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/make-panels/Raster.h"

using ByteVector = std::vector<std::uint8_t>;

ByteVector EncodeBmp8(const sPalettePicture& picture);
// One 32-bit image with its AND mask per picture, in the order given.
ByteVector EncodeIco(const std::vector<sRgbaPicture>& pictures);
