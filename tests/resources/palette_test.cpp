// Reducing a true-colour image to 256 colours and a mask.

#include "resources/icon/palette.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <tuple>

namespace resources {
namespace {

RgbaImage image(int width, int height) {
    return {width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 4)};
}

void set(RgbaImage& img, int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    std::uint8_t* px = &img.pixels[(static_cast<std::size_t>(y) * img.width + x) * 4];
    px[0] = r, px[1] = g, px[2] = b, px[3] = a;
}

TEST(Quantize, KeepsUpTo255ColoursExactlyWithBlackFirst) {
    RgbaImage img = image(16, 16);
    for (int i = 0; i < 255; ++i) set(img, i % 16, i / 16, static_cast<std::uint8_t>(i), 7, 200, 255);
    const IndexedImage indexed = quantize(img);
    EXPECT_EQ(indexed.palette[0], (Rgb8{0, 0, 0}));
    for (int i = 0; i < 255; ++i) {
        const Rgb8 c = indexed.palette[indexed.indices[i]];
        EXPECT_EQ(c, (Rgb8{static_cast<std::uint8_t>(i), 7, 200})) << i;
        EXPECT_FALSE(indexed.transparent[i]);
    }
}

TEST(Quantize, MasksPixelsLessThanHalfOpaqueAndPutsBlackUnderThem) {
    RgbaImage img = image(4, 1);
    set(img, 0, 0, 255, 255, 255, 127);
    set(img, 1, 0, 255, 255, 255, 128);
    set(img, 2, 0, 10, 20, 30, 0);
    set(img, 3, 0, 0, 0, 0, 255);  // opaque black stays visible
    const IndexedImage indexed = quantize(img);
    EXPECT_EQ(indexed.transparent, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(indexed.indices[0], 0);
    EXPECT_EQ(indexed.indices[2], 0);
    EXPECT_EQ(indexed.palette[indexed.indices[1]], (Rgb8{255, 255, 255}));
    EXPECT_EQ(indexed.palette[indexed.indices[3]], (Rgb8{0, 0, 0}));
}

TEST(Quantize, ReducesManyColoursToNearbyOnesTheSameWayEveryTime) {
    // 4096 colours: a smooth two-way gradient, as antialiasing makes.
    RgbaImage img = image(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            set(img, x, y, static_cast<std::uint8_t>(x * 4), static_cast<std::uint8_t>(y * 4),
                static_cast<std::uint8_t>(255 - x * 2), 255);
    const IndexedImage indexed = quantize(img);
    std::set<std::uint8_t> used(indexed.indices.begin(), indexed.indices.end());
    EXPECT_GT(used.size(), 200u);  // the palette is put to use
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const Rgb8 c = indexed.palette[indexed.indices[static_cast<std::size_t>(y) * 64 + x]];
            ASSERT_NEAR(c.r, x * 4, 16);
            ASSERT_NEAR(c.g, y * 4, 16);
            ASSERT_NEAR(c.b, 255 - x * 2, 16);
        }
    }
    const IndexedImage again = quantize(img);
    EXPECT_EQ(again.indices, indexed.indices);
    EXPECT_EQ(again.palette, indexed.palette);
}

}  // namespace
}  // namespace resources
