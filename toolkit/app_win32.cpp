// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <windowsx.h>
// clang-format on

#include <algorithm>
#include <vector>

#include "runtime/errors.h"
#include "runtime/text.h"
#include "toolkit/accelerator_win32.h"
#include "toolkit/app.h"
#include "toolkit/cursor_win32.h"
#include "toolkit/font_win32.h"
#include "toolkit/message_numbers.h"
#include "toolkit/shell_win32.h"
#include "toolkit/window_proc_win32.h"
#include "toolkit/window_win32.h"

namespace toolkit {

namespace {

// OLE on this thread for as long as the application lives.
class OleSession {
public:
    OleSession() {
        const HRESULT result = OleInitialize(nullptr);
        if (FAILED(result)) throw runtime::osErrorFromCode(std::uint32_t(result), "OleInitialize");
    }
    ~OleSession() { OleUninitialize(); }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
};

MSG platformMessage(const wMessage& message) {
    MSG msg{};
    msg.hwnd = static_cast<HWND>(message.window);
    msg.message = message.message;
    msg.wParam = message.wParam;
    msg.lParam = message.lParam;
    msg.time = message.time;
    msg.pt = POINT{message.point.x, message.point.y};
    return msg;
}

class Win32Pump : public wMessagePump {
public:
    bool next(wMessage& message, bool wait) override {
        MSG msg{};
        if (wait) {
            // 0 means WM_QUIT, which the quit filter judges like any message.
            if (GetMessageW(&msg, nullptr, 0, 0) == -1) throw runtime::lastOSError("GetMessageW");
        } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            return false;
        }
        message = wMessage{
            msg.hwnd, msg.message, msg.wParam, msg.lParam, std::uint32_t(msg.time), wPoint{msg.pt.x, msg.pt.y}};
        return true;
    }

    void dispatch(const wMessage& message) override {
        const MSG msg = platformMessage(message);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    void idle() override { Sleep(1); }
};

// Keyboard accelerators: the first window with a table, from the target up.
int acceleratorFilter(const wMessage& message) {
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_CHAR:
        case WM_SYSCHAR:
            break;
        default:
            return 0;
    }
    for (HWND window = static_cast<HWND>(message.window); window; window = GetParent(window)) {
        wWindow* owner = wWindow::fromHandle(window);
        if (!owner || !owner->acceleratorTable()) continue;
        MSG msg = platformMessage(message);
        return TranslateAcceleratorW(window, owner->acceleratorTable()->handle(), &msg) ? 1 : 0;
    }
    return 0;
}

// Dialog-style keyboard navigation (Tab, arrows, default button) within the
// target's top-level window. IsDialogMessageW dispatches what it takes.
int dialogFilter(const wMessage& message) {
    HWND target = static_cast<HWND>(message.window);
    if (!target) return 0;
    HWND root = GetAncestor(target, GA_ROOT);
    if (!root) return 0;
    MSG msg = platformMessage(message);
    return IsDialogMessageW(root, &msg) ? 1 : 0;
}

void stampEvent(wEvent& event) {
    std::uint32_t keys = 0;
    if (GetKeyState(VK_SHIFT) < 0) keys |= keyShift;
    if (GetKeyState(VK_CONTROL) < 0) keys |= keyControl;
    if (GetKeyState(VK_MENU) < 0) keys |= keyAlt;
    if (GetKeyState(VK_LBUTTON) < 0) keys |= keyLeftButton;
    if (GetKeyState(VK_RBUTTON) < 0) keys |= keyRightButton;
    if (GetKeyState(VK_MBUTTON) < 0) keys |= keyMiddleButton;
    event.setKeyState(keys);
    const DWORD position = GetMessagePos();
    event.setMousePosition(wPoint{GET_X_LPARAM(position), GET_Y_LPARAM(position)});
}

}  // namespace

struct wApp::State {
    OleSession ole;
    win32::ModuleHandle richEdit{LoadLibraryW(L"msftedit.dll")};
    win32::ShellBinding shell;
    wUrlOpener opener;
    wDispatcher dispatcher;
    std::shared_ptr<wFont> defaultFont = wFont::messageFont();
    std::shared_ptr<wCursor> handCursor;
    std::vector<std::wstring> windowClasses;
    Win32Pump pump;
    std::int32_t nextWindowId = 100;
};

wApp::wApp() : state_(std::make_unique<State>()) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const win32::ShellBinding* shell = &state_->shell;
    state_->opener = [shell](const std::string& url) { shell->open(runtime::widen(url)); };
    wDispatcher& dispatcher = state_->dispatcher;
    dispatcher.setEventStamp(&stampEvent);
    dispatcher.addFilter(&acceleratorFilter);
    dispatcher.addFilter(&dialogFilter);
    dispatcher.addFilter(dispatcher.quitFilter());
}

std::shared_ptr<wApp> wApp::create() { return std::shared_ptr<wApp>(new wApp()); }

wApp::~wApp() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const std::wstring& name : state_->windowClasses) UnregisterClassW(name.c_str(), instance);
}

wDispatcher& wApp::dispatcher() noexcept { return state_->dispatcher; }

std::uintptr_t wApp::run() { return state_->dispatcher.runLoop(state_->pump); }

std::size_t wApp::windowCount() const noexcept { return state_->dispatcher.windowCount(); }

const std::shared_ptr<wFont>& wApp::defaultFont() const noexcept { return state_->defaultFont; }

std::shared_ptr<wCursor> wApp::handCursor() {
    if (!state_->handCursor) state_->handCursor = wCursor::system(IDC_HAND);
    return state_->handCursor;
}

void wApp::openUrl(const std::string& url) const { state_->opener(url); }

void wApp::setUrlOpener(wUrlOpener opener) { state_->opener = std::move(opener); }

bool wApp::hasRichEdit() const noexcept { return bool(state_->richEdit); }

std::int32_t wApp::newWindowId() noexcept {
    // Child ids travel in 16 bits of WM_COMMAND; wrap before 0x7FFF so they
    // stay positive and clear of the dialog ids 1 and 2.
    if (state_->nextWindowId >= 0x7FFF) state_->nextWindowId = 100;
    return state_->nextWindowId++;
}

void wApp::registerWindowClass(const std::wstring& className) {
    auto& classes = state_->windowClasses;
    if (std::find(classes.begin(), classes.end(), className) != classes.end()) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = &win32::windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className.c_str();
    if (!RegisterClassExW(&windowClass)) throw runtime::lastOSError("RegisterClassExW " + runtime::narrow(className));
    classes.push_back(className);
}

}  // namespace toolkit
