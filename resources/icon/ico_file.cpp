#include "resources/icon/ico_file.h"

#include <cstddef>
#include <stdexcept>

#include "resources/icon/palette.h"

namespace resources {
namespace {

constexpr std::size_t directorySize = 6;      // reserved, type, count: three 16-bit fields
constexpr std::size_t entrySize = 16;         // 4 bytes, two 16-bit and two 32-bit fields
constexpr std::size_t bitmapHeaderSize = 40;  // BITMAPINFOHEADER

void put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Rows of a bitmap are padded to whole 32-bit words.
std::size_t colourStride(int width, int bits) { return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4; }
std::size_t maskStride(int width) { return colourStride(width, 1); }

// Appends the mask, bottom row first, most significant bit leftmost; a set bit
// lets the background through.
template <class IsTransparent>
void putMask(std::vector<std::uint8_t>& out, int width, int height, IsTransparent isTransparent) {
    for (int y = height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride(width), 0);
        for (int x = 0; x < width; ++x)
            if (isTransparent(x, y)) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
}

void putBitmapHeader(std::vector<std::uint8_t>& out, int width, int height, int bits) {
    const std::size_t pixelBytes = (colourStride(width, bits) + maskStride(width)) * height;
    put32(out, bitmapHeaderSize);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(2 * height));  // the colour part and the mask, one above the other
    put16(out, 1);                                       // planes
    put16(out, static_cast<unsigned>(bits));
    put32(out, 0);  // BI_RGB: uncompressed
    put32(out, static_cast<std::uint32_t>(pixelBytes));
    put32(out, 0);  // horizontal resolution: unspecified
    put32(out, 0);  // vertical resolution: unspecified
    put32(out, 0);  // colours used: all 2^bits
    put32(out, 0);  // important colours: all
}

std::vector<std::uint8_t> encodeTrueColour(const RgbaImage& image) {
    std::vector<std::uint8_t> out;
    putBitmapHeader(out, image.width, image.height, 32);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* px = image.at(x, y);
            out.insert(out.end(), {px[2], px[1], px[0], px[3]});
        }
    }
    putMask(out, image.width, image.height, [&](int x, int y) { return image.at(x, y)[3] == 0; });
    return out;
}

std::vector<std::uint8_t> encodePalettized(const RgbaImage& image) {
    const IndexedImage indexed = quantize(image);
    std::vector<std::uint8_t> out;
    putBitmapHeader(out, image.width, image.height, 8);
    for (const Rgb8& c : indexed.palette) out.insert(out.end(), {c.b, c.g, c.r, 0});
    const std::size_t stride = colourStride(image.width, 8);
    for (int y = image.height - 1; y >= 0; --y) {
        const auto row = indexed.indices.begin() + static_cast<std::ptrdiff_t>(y) * image.width;
        out.insert(out.end(), row, row + image.width);
        out.insert(out.end(), stride - image.width, 0);
    }
    putMask(out, image.width, image.height,
            [&](int x, int y) { return indexed.transparent[static_cast<std::size_t>(y) * image.width + x]; });
    return out;
}

void check(const IconImage& icon) {
    const RgbaImage& image = icon.image;
    if (image.width < 1 || image.width > 256 || image.height < 1 || image.height > 256)
        throw std::invalid_argument("icon image sides must be 1 to 256 pixels");
    if (image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 4)
        throw std::invalid_argument("icon image pixel count does not match its size");
    if (icon.bitsPerPixel != 8 && icon.bitsPerPixel != 32)
        throw std::invalid_argument("icon images are stored at 8 or 32 bits per pixel");
}

}  // namespace

std::vector<std::uint8_t> encodeIco(const std::vector<IconImage>& images) {
    if (images.empty() || images.size() > 0xFFFF) throw std::invalid_argument("an icon file holds 1 to 65535 images");
    std::vector<std::vector<std::uint8_t>> bodies;
    for (const IconImage& icon : images) {
        check(icon);
        bodies.push_back(icon.bitsPerPixel == 32 ? encodeTrueColour(icon.image) : encodePalettized(icon.image));
    }

    std::vector<std::uint8_t> out;
    put16(out, 0);  // reserved
    put16(out, 1);  // type: icon
    put16(out, static_cast<unsigned>(images.size()));
    std::size_t offset = directorySize + entrySize * images.size();
    for (std::size_t i = 0; i < images.size(); ++i) {
        const RgbaImage& image = images[i].image;
        // A side of 256 does not fit the byte and is written as 0.
        out.push_back(static_cast<std::uint8_t>(image.width & 0xFF));
        out.push_back(static_cast<std::uint8_t>(image.height & 0xFF));
        out.push_back(0);  // colour count: 0 for 256 colours or more
        out.push_back(0);  // reserved
        put16(out, 1);     // planes
        put16(out, static_cast<unsigned>(images[i].bitsPerPixel));
        put32(out, static_cast<std::uint32_t>(bodies[i].size()));
        put32(out, static_cast<std::uint32_t>(offset));
        offset += bodies[i].size();
    }
    for (const auto& body : bodies) out.insert(out.end(), body.begin(), body.end());
    return out;
}

}  // namespace resources
