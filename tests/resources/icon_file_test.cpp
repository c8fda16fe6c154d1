// The icon generator: the .ico it writes, read back field by field.

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "resources/icon/ico_file.h"
#include "resources/icon/icon_design.h"
#include "tests/support/files.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"

namespace resources {
namespace {

using Bytes = std::vector<std::uint8_t>;

unsigned word(const Bytes& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t dword(const Bytes& b, std::size_t at) {
    return word(b, at) | static_cast<std::uint32_t>(word(b, at + 2)) << 16;
}

// One image of a .ico file as the file describes it.
struct StoredImage {
    int side = 0, bits = 0;
    std::size_t offset = 0, size = 0;
};

std::vector<StoredImage> directory(const Bytes& ico) {
    EXPECT_EQ(word(ico, 0), 0u);  // reserved
    EXPECT_EQ(word(ico, 2), 1u);  // an icon, not a cursor
    std::vector<StoredImage> images(word(ico, 4));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(ico.at(entry), ico.at(entry + 1)) << "square";
        EXPECT_EQ(word(ico, entry + 4), 1u) << "planes";
        images[i] = {ico.at(entry) == 0 ? 256 : ico.at(entry), static_cast<int>(word(ico, entry + 6)),
                     dword(ico, entry + 12), dword(ico, entry + 8)};
    }
    return images;
}

// Whether the mask lets the background through at (x, y), top row 0.
bool masked(const Bytes& ico, const StoredImage& image, std::size_t maskStart, int x, int y) {
    const std::size_t stride = (image.side + 31) / 32 * 4;
    const std::size_t row = maskStart + stride * (image.side - 1 - y);  // bottom row first
    return ico.at(row + x / 8) & (0x80 >> (x % 8));
}

class ProgramIcon : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        images_ = new std::vector<IconImage>(programIconImages());
        ico_ = new Bytes(encodeIco(*images_));
    }
    static void TearDownTestSuite() {
        delete images_;
        delete ico_;
    }
    static std::vector<IconImage>* images_;
    static Bytes* ico_;
};
std::vector<IconImage>* ProgramIcon::images_ = nullptr;
Bytes* ProgramIcon::ico_ = nullptr;

TEST_F(ProgramIcon, HoldsTheEightImagesBackToBackAfterTheDirectory) {
    const auto stored = directory(*ico_);
    const std::vector<std::pair<int, int>> expected{{48, 8},   {32, 8},  {16, 8},  {256, 32},
                                                    {128, 32}, {48, 32}, {32, 32}, {16, 32}};
    ASSERT_EQ(stored.size(), expected.size());
    std::size_t next = 6 + 16 * stored.size();
    for (std::size_t i = 0; i < stored.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(std::make_pair(stored[i].side, stored[i].bits), expected[i]);
        EXPECT_EQ(stored[i].offset, next);
        next += stored[i].size;
        // The bitmap header agrees, and the size is header, palette, pixels and mask.
        const std::size_t at = stored[i].offset, side = stored[i].side;
        EXPECT_EQ(dword(*ico_, at), 40u);
        EXPECT_EQ(dword(*ico_, at + 4), side);
        EXPECT_EQ(dword(*ico_, at + 8), 2 * side);
        EXPECT_EQ(word(*ico_, at + 14), static_cast<unsigned>(stored[i].bits));
        const std::size_t palette = stored[i].bits == 8 ? 1024 : 0;
        const std::size_t colour = (side * stored[i].bits + 31) / 32 * 4 * side, mask = (side + 31) / 32 * 4 * side;
        EXPECT_EQ(dword(*ico_, at + 20), colour + mask);
        EXPECT_EQ(stored[i].size, 40 + palette + colour + mask);
    }
    EXPECT_EQ(next, ico_->size());
}

TEST_F(ProgramIcon, TrueColourImagesKeepEveryPixelAndMaskExactlyTheInvisibleOnes) {
    const auto stored = directory(*ico_);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i].bits != 32) continue;
        const StoredImage& image = stored[i];
        const RgbaImage& drawn = (*images_)[i].image;
        SCOPED_TRACE(image.side);
        const std::size_t pixels = image.offset + 40, maskStart = pixels + std::size_t{4} * image.side * image.side;
        for (int y = 0; y < image.side; ++y) {
            for (int x = 0; x < image.side; ++x) {
                const std::size_t at = pixels + 4 * (static_cast<std::size_t>(image.side - 1 - y) * image.side + x);
                const std::uint8_t* want = drawn.at(x, y);
                ASSERT_EQ(Bytes(ico_->begin() + at, ico_->begin() + at + 4),
                          Bytes({want[2], want[1], want[0], want[3]}))
                    << x << "," << y;
                ASSERT_EQ(masked(*ico_, image, maskStart, x, y), want[3] == 0) << x << "," << y;
            }
        }
    }
}

TEST_F(ProgramIcon, PalettizedImagesShowTheSameShapeInNearlyTheSameColours) {
    const auto stored = directory(*ico_);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i].bits != 8) continue;
        const StoredImage& image = stored[i];
        const RgbaImage& drawn = (*images_)[i].image;
        SCOPED_TRACE(image.side);
        const std::size_t palette = image.offset + 40, pixels = palette + 1024;
        const std::size_t stride = (image.side + 3) / 4 * 4, maskStart = pixels + stride * image.side;
        for (int y = 0; y < image.side; ++y) {
            for (int x = 0; x < image.side; ++x) {
                const std::size_t index = ico_->at(pixels + stride * (image.side - 1 - y) + x);
                const std::uint8_t* want = drawn.at(x, y);
                const std::uint8_t* got = &ico_->at(palette + 4 * index);  // blue, green, red
                const bool transparent = want[3] < 128;
                ASSERT_EQ(masked(*ico_, image, maskStart, x, y), transparent) << x << "," << y;
                // Under the mask the colour must be black, or the background would be tinted.
                const int tolerance = transparent ? 0 : 8;
                const std::uint8_t expect[3] = {transparent ? std::uint8_t{0} : want[2],
                                                transparent ? std::uint8_t{0} : want[1],
                                                transparent ? std::uint8_t{0} : want[0]};
                for (int c = 0; c < 3; ++c) ASSERT_NEAR(got[c], expect[c], tolerance) << x << "," << y;
            }
        }
    }
}

TEST_F(ProgramIcon, GeneratorWritesTheSameBytesOnEveryRun) {
    testsupport::TempFolder folder;
    for (const char* name : {"first.ico", "second.ico"}) {
        const auto run = testsupport::runProcess(QUENMARL_ICON_GEN_PATH, {folder / name}, folder.text());
        ASSERT_EQ(run.exitCode, 0) << run.err;
    }
    const Bytes first = testsupport::readFile(folder / "first.ico");
    EXPECT_EQ(first, testsupport::readFile(folder / "second.ico"));
    EXPECT_EQ(first, *ico_);
}

TEST(IcoFile, RefusesWhatTheFormatCannotHold) {
    const auto square = [](int side) {
        return RgbaImage{side, side, std::vector<std::uint8_t>(static_cast<std::size_t>(side) * side * 4)};
    };
    EXPECT_THROW(encodeIco({}), std::invalid_argument);
    EXPECT_THROW(encodeIco({{square(257), 32}}), std::invalid_argument);
    EXPECT_THROW(encodeIco({{square(16), 24}}), std::invalid_argument);
    EXPECT_THROW(encodeIco({{RgbaImage{16, 16, std::vector<std::uint8_t>(10)}, 32}}), std::invalid_argument);
    EXPECT_NO_THROW(encodeIco({{square(1), 8}, {square(256), 32}}));
}

TEST(IconDesign, RefusesSidesTooSmallToDraw) { EXPECT_THROW(drawIcon(15), std::invalid_argument); }

// Straight edges of the small images lie on pixel boundaries: below the fold,
// across the sheet's sides, the alpha goes from nothing to full in one step.
TEST(IconDesign, SmallImagesHaveCrispStraightEdges) {
    for (int side : {16, 32, 48}) {
        SCOPED_TRACE(side);
        const RgbaImage image = drawIcon(side);
        for (int y = side * 3 / 8; y < side * 7 / 8; ++y) {
            for (int x = 0; x < side; ++x) {
                const int alpha = image.at(x, y)[3];
                ASSERT_TRUE(alpha == 0 || alpha == 255) << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace resources
