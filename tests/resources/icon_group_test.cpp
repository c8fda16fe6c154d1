// The icon group 1000 linked into this executable from quenmarl_resources:
// its directory, each image, and which image Windows picks.

// The local header brings <windows.h>, which the other platform headers need first.
// clang-format off
#include "tests/resources/win32_resources.h"
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

namespace resourcestest {
namespace {

constexpr int iconGroupId = 1000;

struct Expected {
    int side;
    int bits;
};
// 8-bit images first for displays with a palette, then the true-colour ones,
// each run from large to small.
constexpr Expected expectedImages[] = {{48, 8}, {32, 8}, {16, 8}, {256, 32}, {128, 32}, {48, 32}, {32, 32}, {16, 32}};

std::span<const std::uint8_t> group() { return ownResource(RT_GROUP_ICON, MAKEINTRESOURCEW(iconGroupId)); }

// An icon made from one RT_ICON image of this executable.
OwnedIcon iconFromImage(int id, int side) {
    const auto image = ownResource(RT_ICON, MAKEINTRESOURCEW(id));
    return OwnedIcon(CreateIconFromResourceEx(const_cast<BYTE*>(image.data()), static_cast<DWORD>(image.size()), TRUE,
                                              0x00030000, side, side, LR_DEFAULTCOLOR));
}

TEST(IconGroup, ListsTheEightImagesWithTheirSidesAndDepths) {
    const auto entries = groupEntries(group());
    ASSERT_EQ(entries.size(), std::size(expectedImages));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].width, expectedImages[i].side % 256);  // 256 is written as 0
        EXPECT_EQ(entries[i].height, expectedImages[i].side % 256);
        EXPECT_EQ(entries[i].bitCount, expectedImages[i].bits);
        EXPECT_EQ(entries[i].planes, 1);
        EXPECT_EQ(entries[i].colourCount, 0);
    }
}

TEST(IconGroup, EveryImageIsABitmapOfItsEntrysSizeAndDecodes) {
    for (const GroupIconEntry& entry : groupEntries(group())) {
        const int side = entry.width == 0 ? 256 : entry.width;
        SCOPED_TRACE(testing::Message() << side << " px, " << entry.bitCount << " bits");
        const auto image = ownResource(RT_ICON, MAKEINTRESOURCEW(entry.id));
        ASSERT_EQ(image.size(), entry.bytesInResource);
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        std::memcpy(&header, image.data(), sizeof header);
        EXPECT_EQ(header.biWidth, side);
        EXPECT_EQ(header.biHeight, 2 * side);  // colour part and mask
        EXPECT_EQ(header.biBitCount, entry.bitCount);
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));

        const OwnedIcon icon = iconFromImage(entry.id, side);
        ASSERT_NE(icon.get(), nullptr);
        const IconSize size = iconSize(icon.get());
        EXPECT_EQ(size.width, side);
        EXPECT_EQ(size.height, side);
    }
}

// The sheet leaves the corners free (a margin on the left, the folded corner
// on the right) and covers the middle: drawn on a background, the corners
// must show it and the middle must not, whether the image relies on its mask
// (8 bits) or its alpha (32 bits).
TEST(IconGroup, EveryImageIsTransparentAtTheCornersAndOpaqueInTheMiddle) {
    constexpr std::uint32_t magenta = 0xFF00FF;
    for (const GroupIconEntry& entry : groupEntries(group())) {
        const int side = entry.width == 0 ? 256 : entry.width;
        SCOPED_TRACE(testing::Message() << side << " px, " << entry.bitCount << " bits");
        const OwnedIcon icon = iconFromImage(entry.id, side);
        ASSERT_NE(icon.get(), nullptr);
        const auto pixels = drawOn(icon.get(), side, magenta);
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(side * side));
        const auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * side + x]; };
        EXPECT_EQ(at(0, 0), magenta);
        EXPECT_EQ(at(side - 1, 0), magenta);
        EXPECT_EQ(at(0, side - 1), magenta);
        EXPECT_NE(at(side / 2, side / 2), magenta);
        EXPECT_NE(at(side / 2, side / 4), magenta);
    }
}

// The resource id of the image Windows chooses from the group for a side.
int chosenImage(int side) {
    const auto bytes = group();
    return LookupIconIdFromDirectoryEx(const_cast<BYTE*>(bytes.data()), TRUE, side, side, LR_DEFAULTCOLOR);
}

int imageIdOf(int side, int bits) {
    for (const GroupIconEntry& entry : groupEntries(group()))
        if ((entry.width == 0 ? 256 : entry.width) == side && entry.bitCount == bits) return entry.id;
    return -1;
}

TEST(IconGroup, WindowsChoosesTheTrueColourImageOfEachSide) {
    for (int side : {16, 32, 48, 128, 256}) {
        SCOPED_TRACE(side);
        EXPECT_EQ(chosenImage(side), imageIdOf(side, 32));
    }
}

// What an icon looks like drawn at its side, on a colour no image uses.
std::vector<std::uint32_t> looks(HICON icon, int side) { return drawOn(icon, side, 0xFF00FF); }

// Loading the group at the small and large icon sizes takes the true-colour
// image of that size, unscaled.
TEST(IconGroup, LoadsTheTrueColourImageAtTheSmallAndLargeIconSizes) {
    const HINSTANCE self = GetModuleHandleW(nullptr);
    // Only version 6 of the common controls has this; the manifest makes it ours.
    using LoadScaledDown = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    const OwnedLibrary controls(L"comctl32.dll");
    const auto loadScaledDown = exported<LoadScaledDown>(controls.get(), "LoadIconWithScaleDown");
    ASSERT_NE(loadScaledDown, nullptr);
    for (int side : {16, 32}) {
        SCOPED_TRACE(side);
        OwnedIcon loaded(static_cast<HICON>(
            LoadImageW(self, MAKEINTRESOURCEW(iconGroupId), IMAGE_ICON, side, side, LR_DEFAULTCOLOR)));
        ASSERT_NE(loaded.get(), nullptr);
        EXPECT_EQ(iconSize(loaded.get()).width, side);
        const OwnedIcon trueColour = iconFromImage(imageIdOf(side, 32), side);
        const OwnedIcon palettized = iconFromImage(imageIdOf(side, 8), side);
        ASSERT_NE(looks(trueColour.get(), side), looks(palettized.get(), side));  // or the check below proves nothing
        EXPECT_EQ(looks(loaded.get(), side), looks(trueColour.get(), side));

        OwnedIcon scaled;
        ASSERT_EQ(loadScaledDown(self, MAKEINTRESOURCEW(iconGroupId), side, side, scaled.out()), S_OK);
        EXPECT_EQ(iconSize(scaled.get()).width, side);
        EXPECT_EQ(looks(scaled.get(), side), looks(trueColour.get(), side));
    }
}

// The window takes its small icon from the first icon of its own executable,
// extracted at the small-icon size: that must be this group's true-colour
// image of that size. (Wine's ExtractIconEx would scale the 32-pixel image
// down instead; PrivateExtractIcons, asked for one size, does it right.)
TEST(IconGroup, IsTheFirstIconOfTheExecutableAndExtractsUnscaled) {
    const std::wstring path = ownPath();
    EXPECT_EQ(PrivateExtractIconsW(path.c_str(), 0, 0, 0, nullptr, nullptr, 0, 0), 1u);  // icon groups in the file
    for (int side : {GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CXICON)}) {
        SCOPED_TRACE(side);
        OwnedIcon extracted;
        ASSERT_EQ(PrivateExtractIconsW(path.c_str(), 0, side, side, extracted.out(), nullptr, 1, 0), 1u);
        ASSERT_NE(extracted.get(), nullptr);
        EXPECT_EQ(iconSize(extracted.get()).width, side);
        EXPECT_EQ(looks(extracted.get(), side), looks(iconFromImage(imageIdOf(side, 32), side).get(), side));
    }
}

}  // namespace
}  // namespace resourcestest
