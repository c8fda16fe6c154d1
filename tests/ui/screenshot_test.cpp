// A window like the program's, with links, buttons, a rich text box and a
// status bar, drawn and saved as a bitmap next to the test (an artifact to
// look at), and checked for the link's colour.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "tests/toolkit/win32_support.h"
#include "toolkit/button.h"
#include "toolkit/frame.h"
#include "toolkit/message_numbers.h"
#include "toolkit/panel.h"
#include "toolkit/status_bar.h"
#include "toolkit/text_ctrl.h"
#include "ui/hyperlink.h"

using namespace std::chrono_literals;
using namespace toolkit;

namespace {

// The screen rectangle as 24-bit pixels, bottom row first (BMP order).
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // BGR, rows padded to 4 bytes

    int stride() const { return (width * 3 + 3) & ~3; }
    COLORREF at(int x, int y) const {  // y from the top
        const std::uint8_t* p = &pixels[std::size_t((height - 1 - y) * stride() + x * 3)];
        return RGB(p[2], p[1], p[0]);
    }
};

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

int countColour(const Capture& capture, RECT area, COLORREF colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += capture.at(x, y) == colour;
    return count;
}

TEST(ScreenshotTest, WindowWithLinksAndStatusBarIsDrawnAndSaved) {
    auto app = wApp::create();
    app->setUrlOpener([](const std::string&) {});
    // A corner of the screen that no other test's window or dialog covers.
    auto frame = std::make_shared<wFrame>(app, "Quenmarl toolkit", wPoint{1450, 40}, wSize{418, 350},
                                          wDefaultFrameStyle | extendedStyle(WS_EX_COMPOSITED));
    auto panel = std::make_shared<wPanel>(frame);
    auto help = std::make_shared<wTextCtrl>(panel, wDefaultId, "", wDefaultPosition, wDefaultSize,
                                            ES_MULTILINE | ES_READONLY | wTeRich);
    help->setMargins(15, 15);
    help->loadRtf(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs22\\par"
        "  1. Drag and drop a folder or file here, or click the {\\b Open Folder} or {\\b Open File} button\\par\\par"
        "  2. The output will be saved starting with {\\b zz_}\\par}");
    auto folderButton = std::make_shared<wButton>(panel, wDefaultId, "Open folder");
    auto fileButton = std::make_shared<wButton>(panel, wDefaultId, "Open file");
    auto home = std::make_shared<ui::wHyperlink>(panel, wDefaultId, "Visit Home", "https://quenmarl.example.org/",
                                                 wDefaultPosition, wDefaultSize, SS_CENTER | SS_CENTERIMAGE);
    auto contact =
        std::make_shared<ui::wHyperlink>(panel, wDefaultId, "Contact Author", "mailto:support@quenmarl.example.org",
                                         wDefaultPosition, wDefaultSize, SS_RIGHT | SS_CENTERIMAGE);
    for (auto& link : {home, contact}) {
        link->setNormalFont(std::make_shared<wFont>(9.5));
        link->setHoverFont(std::make_shared<wFont>(9.5, FW_BOLD, true));
    }
    auto status = std::make_shared<wStatusBar>(frame);
    status->setStatusText(" Done! - C:\\music\\zz_song.wav - 14:03:07");

    // A plain row layout: the text box on top, links and buttons below.
    bindHandler(*panel, evtSize, wPlainHandler([&] {
        const wSize client = panel->clientSize();
        const int row = folderButton->size().height;
        help->setRect({0, 0, client.width, client.height - row});
        int x = 15;
        for (wWindow* item : std::initializer_list<wWindow*>{home.get(), folderButton.get(), fileButton.get()}) {
            item->setRect({x, client.height - row, item->size().width, row});
            x += item->size().width + 10;
        }
        contact->setRect({client.width - 18 - contact->size().width, client.height - row, contact->size().width, row});
    }));
    frame->show();
    SetWindowPos(frame->handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    toolkittest::pumpFor(400ms);

    RECT area{};
    GetWindowRect(frame->handle(), &area);
    const Capture capture = captureScreen(area);
    writeBitmap("toolkit_window.bmp", capture);

    RECT linkArea{};
    GetWindowRect(home->handle(), &linkArea);
    OffsetRect(&linkArea, -area.left, -area.top);
    EXPECT_GT(countColour(capture, linkArea, RGB(0, 0, 255)), 20) << "the link is not drawn in blue";
    RECT statusArea{};
    GetWindowRect(status->handle(), &statusArea);
    OffsetRect(&statusArea, -area.left, -area.top);
    EXPECT_GT(countColour(capture, statusArea, RGB(0, 0, 0)), 20) << "the status bar shows no text";

    // For a look with a title bar: QUENMARL_SCREENSHOT_HOLD_MS keeps the window up.
    if (const char* hold = std::getenv("QUENMARL_SCREENSHOT_HOLD_MS"))
        toolkittest::pumpFor(std::chrono::milliseconds(std::atoi(hold)));
}

}  // namespace
