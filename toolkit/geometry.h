#pragma once
// Plain value types the toolkit's interface speaks in: points, sizes,
// colours and the 64-bit style word.

#include <cstdint>
#include <limits>

namespace toolkit {

// A position or size coordinate of this value (0x80000000) asks for the
// default on creation and leaves that coordinate untouched on a move.
inline constexpr std::int32_t wDefaultCoordinate = std::numeric_limits<std::int32_t>::min();

struct wPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const wPoint&, const wPoint&) = default;
};

struct wSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const wSize&, const wSize&) = default;
};

struct wRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const wRect&, const wRect&) = default;
};

inline constexpr wPoint wDefaultPosition{wDefaultCoordinate, wDefaultCoordinate};
inline constexpr wSize wDefaultSize{wDefaultCoordinate, wDefaultCoordinate};

// Colours are 24-bit values in the platform's 0x00BBGGRR order.
using wColor = std::uint32_t;

constexpr wColor rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return wColor(red) | (wColor(green) << 8) | (wColor(blue) << 16);
}

// Window style word: the window style in the low 32 bits, the extended style
// in the high 32 bits, whose top 4 bits carry toolkit flags.
using wStyle = std::uint64_t;

inline constexpr wStyle wToolkitFlags = wStyle(0xF0000000) << 32;

// Text control flag: the rich-edit variant.
inline constexpr wStyle wTeRich = wStyle(0x10000000) << 32;

constexpr std::uint32_t windowStylePart(wStyle style) { return std::uint32_t(style & 0xFFFFFFFFu); }
constexpr std::uint32_t extendedStylePart(wStyle style) { return std::uint32_t((style & ~wToolkitFlags) >> 32); }
constexpr wStyle extendedStyle(std::uint32_t exStyle) { return wStyle(exStyle) << 32; }

}  // namespace toolkit
