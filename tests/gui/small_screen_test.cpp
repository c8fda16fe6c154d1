// The real quenmarl.exe on a screen of 1024 x 768: a Wine virtual desktop of
// that size. Such a desktop changes the screen size that every program of
// the Wine session sees, for as long as the session lasts, so this test runs
// alone and gives the session its screen size back afterwards.
#include "tests/gui/program_fixture.h"

namespace {

using namespace guitest;

// Remembers the screen size and, when it goes, hands it back to the session
// by way of a short-lived virtual desktop of that size.
class ScreenSizeRestorer {
public:
    ScreenSizeRestorer() : width_(GetSystemMetrics(SM_CXSCREEN)), height_(GetSystemMetrics(SM_CYSCREEN)) {}
    ~ScreenSizeRestorer() {
        const std::wstring size = std::to_wstring(width_) + L"x" + std::to_wstring(height_);
        try {
            ChildProcess host(L"explorer.exe /desktop=quenmarl-restore-" + std::to_wstring(GetCurrentProcessId()) +
                                  L"," + size + L" cmd.exe /c exit",
                              L"C:\\");
            host.waitForExit(15s);
        } catch (...) {
            // Nothing to give back with: later tests will say so.
        }
    }
    ScreenSizeRestorer(const ScreenSizeRestorer&) = delete;
    ScreenSizeRestorer& operator=(const ScreenSizeRestorer&) = delete;

private:
    int width_;
    int height_;
};

// A desktop handle, closed when it goes.
struct DesktopHandle {
    HDESK handle = nullptr;
    DesktopHandle() = default;
    ~DesktopHandle() {
        if (handle) CloseDesktop(handle);
    }
    DesktopHandle(const DesktopHandle&) = delete;
    DesktopHandle& operator=(const DesktopHandle&) = delete;
};

TEST_F(ProgramTest, OnA1024By768ScreenTheFrameSitsAt506By318) {
    const ScreenSizeRestorer restorer;
    // A desktop named for this test alone; the program started on it takes
    // the desktop's size for the screen's.
    const std::wstring desktopName = L"quenmarl-" + std::to_wstring(GetCurrentProcessId());
    ChildProcess desktopHost(L"explorer.exe /desktop=" + desktopName + L",1024x768", runtime::widen(folder.text()));
    DesktopHandle desktop;
    // Ready once its shell windows are there: they come after the desktop
    // window has its size.
    waitUntil(
        [&] {
            if (!desktop.handle)
                desktop.handle = OpenDesktopW(desktopName.c_str(), 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
            return desktop.handle && findOnDesktop(desktop.handle, L"Shell_TrayWnd", nullptr, false);
        },
        15s);
    ASSERT_NE(desktop.handle, nullptr) << "no virtual desktop";

    ChildProcess program(L"\"" + runtime::widen(exe) + L"\"", runtime::widen(folder.text()), desktopName);
    HWND frame = nullptr;
    waitUntil([&] { return (frame = findOnDesktop(desktop.handle, frameClass, &frameTitle)) != nullptr; }, 15s);
    ASSERT_NE(frame, nullptr) << "no window on the virtual desktop";
    RECT placed{};
    GetWindowRect(frame, &placed);
    EXPECT_EQ(placed.left, 506);
    EXPECT_EQ(placed.top, 318);
    EXPECT_EQ(placed.right - placed.left, 418);
    EXPECT_EQ(placed.bottom - placed.top, 350);
    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.waitForExit(15s), std::optional<DWORD>(0));
}

}  // namespace
