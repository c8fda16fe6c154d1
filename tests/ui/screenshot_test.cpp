// A window like the program's, with links, buttons, a rich text box and a
// status bar, drawn and saved as a bitmap next to the test (an artifact to
// look at), and checked for the link's colour.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "tests/support/screen_capture_win32.h"
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
    const testsupport::Capture capture = testsupport::captureScreen(area);
    testsupport::writeBitmap("toolkit_window.bmp", capture);

    RECT linkArea{};
    GetWindowRect(home->handle(), &linkArea);
    OffsetRect(&linkArea, -area.left, -area.top);
    EXPECT_GT(capture.count(linkArea, RGB(0, 0, 255)), 20) << "the link is not drawn in blue";
    RECT statusArea{};
    GetWindowRect(status->handle(), &statusArea);
    OffsetRect(&statusArea, -area.left, -area.top);
    EXPECT_GT(capture.count(statusArea, RGB(0, 0, 0)), 20) << "the status bar shows no text";

    // For a look with a title bar: QUENMARL_SCREENSHOT_HOLD_MS keeps the window up.
    if (const char* hold = std::getenv("QUENMARL_SCREENSHOT_HOLD_MS"))
        toolkittest::pumpFor(std::chrono::milliseconds(std::atoi(hold)));
}

}  // namespace
