#include "tools/make-panels/ImageFiles.h"

#include <stdexcept>

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPaletteEntries = 256;
constexpr std::int32_t kPixelsPerMetre = 3780;  // 96 dots per inch

void PutU16(ByteVector& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(ByteVector& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// Rows of a device-independent bitmap are padded to whole 32-bit words.
std::uint32_t RowStride(int width, int bitsPerPixel) {
    return ((static_cast<std::uint32_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// BITMAPINFOHEADER with no compression.
void PutInfoHeader(ByteVector& out, int width, int height, int bitsPerPixel,
                   std::uint32_t imageSize, std::uint32_t coloursUsed) {
    PutU32(out, kInfoHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height));  // positive: rows stored bottom-up
    PutU16(out, 1);                                   // planes
    PutU16(out, static_cast<std::uint32_t>(bitsPerPixel));
    PutU32(out, 0);  // BI_RGB
    PutU32(out, imageSize);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, coloursUsed);
    PutU32(out, 0);  // all colours important
}

void PutIconImage(ByteVector& out, const sRgbaPicture& picture) {
    const int size = picture.size;
    const std::uint32_t maskStride = RowStride(size, 1);
    const std::uint32_t imageSize = static_cast<std::uint32_t>(size) * size * 4 + maskStride * size;
    // An icon's header counts the colour image and the mask together, hence twice the height.
    PutInfoHeader(out, size, size * 2, 32, imageSize, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const sRgba& pixel = picture.pixels[static_cast<std::size_t>(y) * size + x];
            out.insert(out.end(), {pixel.b, pixel.g, pixel.r, pixel.a});
        }
    }
    // The AND mask marks fully transparent pixels, for readers that ignore the alpha channel.
    for (int y = size - 1; y >= 0; --y) {
        ByteVector row(maskStride, 0);
        for (int x = 0; x < size; ++x) {
            if (picture.pixels[static_cast<std::size_t>(y) * size + x].a == 0) {
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

}  // namespace

ByteVector EncodeBmp8(const sPalettePicture& picture) {
    if (picture.palette.size() > kPaletteEntries) {
        throw std::invalid_argument("an 8-bit bitmap holds at most 256 colours");
    }
    const std::uint32_t stride = RowStride(picture.width, 8);
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(picture.height);
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + kPaletteEntries * 4;

    ByteVector out;
    out.reserve(pixelOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, pixelOffset + imageSize);
    PutU32(out, 0);  // reserved
    PutU32(out, pixelOffset);
    PutInfoHeader(out, picture.width, picture.height, 8, imageSize, kPaletteEntries);
    for (std::uint32_t i = 0; i < kPaletteEntries; ++i) {
        const sRgb colour = i < picture.palette.size() ? picture.palette[i] : sRgb{};
        out.insert(out.end(), {colour.b, colour.g, colour.r, 0});
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        const auto row = picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.width;
        out.insert(out.end(), row, row + picture.width);
        out.resize(out.size() + (stride - static_cast<std::uint32_t>(picture.width)), 0);
    }
    return out;
}

ByteVector EncodeIco(const std::vector<sRgbaPicture>& pictures) {
    constexpr std::uint32_t kDirectorySize = 6;
    constexpr std::uint32_t kEntrySize = 16;

    std::vector<ByteVector> images;
    for (const sRgbaPicture& picture : pictures) {
        if (picture.size < 1 || picture.size > 256) {
            throw std::invalid_argument("icon sizes run from 1 to 256 pixels");
        }
        images.emplace_back();
        PutIconImage(images.back(), picture);
    }

    ByteVector out;
    PutU16(out, 0);  // reserved
    PutU16(out, 1);  // icon, not cursor
    PutU16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = kDirectorySize + kEntrySize * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = pictures[i].size;
        out.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));  // 0 stands for 256
        out.push_back(static_cast<std::uint8_t>(size == 256 ? 0 : size));
        out.push_back(0);  // no palette
        out.push_back(0);  // reserved
        PutU16(out, 1);    // planes
        PutU16(out, 32);   // bits per pixel
        PutU32(out, static_cast<std::uint32_t>(images[i].size()));
        PutU32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const ByteVector& image : images) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}
