// The main window after a conversion, drawn on the screen and saved as a
// bitmap beside the test (quenmarl_window.bmp, an artifact to look at), and
// checked for what a person must see: the help text, blue links and the
// status line's text.
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "tests/gui/window_support.h"
#include "tests/support/drop_data_win32.h"
#include "tests/support/screen_capture_win32.h"

using namespace std::chrono_literals;

namespace {

using ScreenshotTest = guitest::MainWindowTest;

// C:\Music for the time of the test, when nothing of that name is there
// yet; otherwise a fresh folder in the temporary folder.
struct MusicFolder {
    std::string path = "C:\\Music";
    bool made = std::filesystem::create_directory(testsupport::pathOf(path));
    testsupport::TempFolder fallback;

    MusicFolder() {
        if (!made) path = fallback.text();
    }
    ~MusicFolder() {
        std::error_code ignored;
        if (made) std::filesystem::remove_all(testsupport::pathOf(path), ignored);
    }
    MusicFolder(const MusicFolder&) = delete;
    MusicFolder& operator=(const MusicFolder&) = delete;
};

RECT within(HWND child, RECT capturedArea) {
    RECT area{};
    GetWindowRect(child, &area);
    OffsetRect(&area, -capturedArea.left, -capturedArea.top);
    return area;
}

TEST_F(ScreenshotTest, WindowAfterAConversionIsDrawnAndSaved) {
    // A part of the screen that no other test's window covers, above them all.
    showAt({560, 90});
    SetWindowPos(window->mainFrame->handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // A short path that the status line shows whole, as a person's would be.
    const MusicFolder music;
    const std::string song = music.path + "\\song.mp3";
    testsupport::writeFile(song, testsupport::randomBytes(4000, 9));
    testsupport::DropData* data = testsupport::DropData::files({song});
    testsupport::dragAndDrop(window->helpText->handle(), data);
    data->Release();
    ASSERT_TRUE(testsupport::exists(music.path + "\\zz_song.wav"));
    toolkittest::pumpFor(400ms);

    RECT frame{};
    GetWindowRect(window->mainFrame->handle(), &frame);
    const testsupport::Capture capture = testsupport::captureScreen(frame);
    testsupport::writeBitmap("quenmarl_window.bmp", capture);

    EXPECT_GT(capture.countDark(within(window->statusBar->handle(), frame)), 40) << "the status line shows text";
    EXPECT_GT(capture.countDark(within(window->helpText->handle(), frame)), 400) << "the help text is drawn";
    EXPECT_GT(capture.count(within(window->homeLink->handle(), frame), RGB(0, 0, 255)), 20) << "a blue link";
    EXPECT_GT(capture.count(within(window->contactLink->handle(), frame), RGB(0, 0, 255)), 20) << "a blue link";

    // For a look with a title bar: QUENMARL_SCREENSHOT_HOLD_MS keeps the window up.
    if (const char* hold = std::getenv("QUENMARL_SCREENSHOT_HOLD_MS"))
        toolkittest::pumpFor(std::chrono::milliseconds(std::atoi(hold)));
}

}  // namespace
