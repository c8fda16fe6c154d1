#pragma once
// A rectangle of the screen as 24-bit pixels, and writing it as a bitmap file.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // BGR, bottom row first, rows padded to 4 bytes

    int stride() const { return (width * 3 + 3) & ~3; }
    // The colour at (x, y), y counted from the top.
    COLORREF at(int x, int y) const;
    // How many pixels of the area (relative to the capture) have the colour.
    int count(RECT area, COLORREF colour) const;
    // How many pixels of the area are darker than the threshold in every channel.
    int countDark(RECT area, int threshold = 96) const;
};

Capture captureScreen(RECT area);

// Writes the capture as a 24-bit BMP file.
void writeBitmap(const std::string& path, const Capture& capture);

}  // namespace testsupport
