#include "tests/support/screen_capture_win32.h"

#include <fstream>

namespace testsupport {

COLORREF Capture::at(int x, int y) const {
    const std::uint8_t* p = &pixels[std::size_t((height - 1 - y) * stride() + x * 3)];
    return RGB(p[2], p[1], p[0]);
}

int Capture::count(RECT area, COLORREF colour) const {
    int found = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) found += at(x, y) == colour;
    return found;
}

int Capture::countDark(RECT area, int threshold) const {
    int found = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = at(x, y);
            found += GetRValue(c) < threshold && GetGValue(c) < threshold && GetBValue(c) < threshold;
        }
    return found;
}

Capture captureScreen(RECT area) {
    Capture capture;
    capture.width = area.right - area.left;
    capture.height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, capture.width, capture.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, capture.width, capture.height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    capture.pixels.resize(std::size_t(capture.stride() * capture.height));
    GetDIBits(memory, bitmap, 0, UINT(capture.height), capture.pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

void writeBitmap(const std::string& path, const Capture& capture) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = capture.width;
    header.biHeight = capture.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = DWORD(capture.pixels.size());
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(capture.pixels.data()), std::streamsize(capture.pixels.size()));
}

}  // namespace testsupport
