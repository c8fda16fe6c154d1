#pragma once
// Pixel images as the icon generator passes them around: square or not,
// top row first, one byte per channel.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace resources {

struct Rgb8 {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb8&, const Rgb8&) = default;
};

// Red, green, blue, alpha per pixel; alpha is straight (not premultiplied),
// as the icon format stores it.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 4 bytes

    const std::uint8_t* at(int x, int y) const { return &pixels[(static_cast<std::size_t>(y) * width + x) * 4]; }
};

// A 256-colour image with a one-bit transparency mask.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::array<Rgb8, 256> palette{};
    std::vector<std::uint8_t> indices;  // width * height palette indices
    std::vector<bool> transparent;      // width * height, true where the background shows
};

// One image of an icon file and the colour depth it is stored at (8 or 32
// bits per pixel).
struct IconImage {
    RgbaImage image;
    int bitsPerPixel = 32;
};

}  // namespace resources
