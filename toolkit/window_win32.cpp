// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "toolkit/window_win32.h"

#include <algorithm>
#include <vector>

#include "runtime/errors.h"
#include "runtime/text.h"
#include "toolkit/accelerator_win32.h"
#include "toolkit/app.h"
#include "toolkit/cursor_win32.h"
#include "toolkit/drop_target_win32.h"
#include "toolkit/font_win32.h"
#include "toolkit/window_proc_win32.h"

namespace toolkit {

namespace {

// The window property that leads from an HWND to its wWindow.
constexpr wchar_t windowProperty[] = L"Quenmarl.wWindow";

}  // namespace

wWindow::wWindow(std::shared_ptr<wApp> app, std::shared_ptr<wWindow> parent)
    : wEventTarget(app->dispatcher()), app_(std::move(app)), parent_(std::move(parent)) {}

wWindow::~wWindow() {
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    if (!handle_) return;
    // Revoke while the window exists; then detach so that no message of the
    // destruction reaches this half-destroyed object.
    dropRegistration_.reset();
    detach();
    forget();
    handle_.reset();
}

void wWindow::create(const CreateParams& params) {
    const bool child = parent_ != nullptr;
    DWORD style = windowStylePart(params.style);
    const DWORD exStyle = extendedStylePart(params.style);
    if (child) style |= WS_CHILD;

    int x = params.position.x, y = params.position.y;
    int width = params.size.width, height = params.size.height;
    if (child) {
        if (x == wDefaultCoordinate) x = 0;
        if (y == wDefaultCoordinate) y = 0;
        if (width == wDefaultCoordinate) width = params.defaultSize.width;
        if (height == wDefaultCoordinate) height = params.defaultSize.height;
    } else {
        // CW_USEDEFAULT works on whole pairs only.
        if (x == wDefaultCoordinate || y == wDefaultCoordinate) x = y = CW_USEDEFAULT;
        if (width == wDefaultCoordinate || height == wDefaultCoordinate) width = height = CW_USEDEFAULT;
    }

    if (child) id_ = params.id == wDefaultId ? app_->newWindowId() : params.id;
    if (!params.platformControl) app_->registerWindowClass(params.className);

    const std::wstring label = runtime::widen(params.label);
    HWND window = CreateWindowExW(exStyle, params.className.c_str(), label.c_str(), style, x, y, width, height,
                                  child ? parent_->handle() : nullptr,
                                  child ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)) : nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) throw runtime::lastOSError("CreateWindowExW " + runtime::narrow(params.className));
    handle_.reset(window);
    platformControl_ = params.platformControl;

    // Messages of the creation itself went to the default procedure: the
    // object is attached only now that it can take them.
    SetPropW(window, windowProperty, this);
    if (platformControl_) SetWindowSubclass(window, &win32::controlProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
    if (parent_) parent_->children_.push_back(this);
    dispatcher().windowCreated(this);

    font_ = inheritedFont();
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_->handle()), FALSE);
    checkPendingError();
}

std::shared_ptr<wFont> wWindow::inheritedFont() const {
    return parent_ && parent_->font_ ? parent_->font_ : app_->defaultFont();
}

void wWindow::checkPendingError() const { dispatcher().rethrowPendingError(); }

wWindow* wWindow::fromHandle(HWND window) noexcept {
    if (!window) return nullptr;
    // Another process may use the same property name; its value is no
    // pointer here.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return nullptr;
    return static_cast<wWindow*>(GetPropW(window, windowProperty));
}

void wWindow::detach() noexcept {
    HWND window = handle_.get();
    if (!window) return;
    RemovePropW(window, windowProperty);
    if (platformControl_) RemoveWindowSubclass(window, &win32::controlProcedure, 0);
}

void wWindow::forget() noexcept {
    mouseTracked_ = false;
    dispatcher().windowDestroyed(this);
    // The last window gone ends the running loop. Outside a loop nothing
    // waits for the quit message, and a stale one would end the next modal
    // loop (a message box) at once.
    if (dispatcher().windowCount() == 0 && dispatcher().loopDepth() > 0) PostQuitMessage(0);
}

void wWindow::handleDestroyed() noexcept {
    dropRegistration_.reset();
    detach();
    handle_.release();  // already destroyed by the platform
    forget();
}

wRect wWindow::rect() const {
    RECT r{};
    GetWindowRect(handle(), &r);
    if (HWND parentWindow = GetParent(handle()); parentWindow && (GetWindowLongW(handle(), GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parentWindow, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

wPoint wWindow::position() const {
    const wRect r = rect();
    return {r.x, r.y};
}

wSize wWindow::size() const {
    const wRect r = rect();
    return {r.width, r.height};
}

wSize wWindow::clientSize() const {
    RECT r{};
    GetClientRect(handle(), &r);
    return {r.right - r.left, r.bottom - r.top};
}

void wWindow::setRect(wRect wanted) {
    const wRect now = rect();
    if (wanted.x == wDefaultCoordinate) wanted.x = now.x;
    if (wanted.y == wDefaultCoordinate) wanted.y = now.y;
    if (wanted.width == wDefaultCoordinate) wanted.width = now.width;
    if (wanted.height == wDefaultCoordinate) wanted.height = now.height;
    SetWindowPos(handle(), nullptr, wanted.x, wanted.y, wanted.width, wanted.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    checkPendingError();
}

void wWindow::move(wPoint position) { setRect({position.x, position.y, wDefaultCoordinate, wDefaultCoordinate}); }

void wWindow::setSize(wSize size) { setRect({wDefaultCoordinate, wDefaultCoordinate, size.width, size.height}); }

void wWindow::center() {
    const wSize own = size();
    wSize area;
    if (parent_)
        area = parent_->clientSize();
    else
        area = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    move({(area.width - own.width) / 2, (area.height - own.height) / 2});
}

void wWindow::show(int command) {
    ShowWindow(handle(), command);
    checkPendingError();
}

bool wWindow::isShown() const { return IsWindowVisible(handle()) != FALSE; }

void wWindow::destroy() {
    if (!handle_) return;
    DestroyWindow(handle_.get());
    checkPendingError();
}

std::string wWindow::label() const {
    const int length = GetWindowTextLengthW(handle());
    std::wstring text(std::size_t(length) + 1, L'\0');
    const int copied = GetWindowTextW(handle(), text.data(), length + 1);
    text.resize(std::size_t(copied > 0 ? copied : 0));
    return runtime::narrow(text);
}

void wWindow::setLabel(const std::string& label) {
    SetWindowTextW(handle(), runtime::widen(label).c_str());
    checkPendingError();
}

void wWindow::setFont(std::shared_ptr<wFont> font) {
    font_ = std::move(font);
    SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_->handle()), TRUE);
    checkPendingError();
}

void wWindow::setForegroundColor(wColor color) { foreground_ = color; }

void wWindow::setBackgroundColor(wColor color) {
    background_ = color;
    backgroundBrush_.reset(CreateSolidBrush(color));
}

void wWindow::setCursor(std::shared_ptr<wCursor> cursor) {
    cursor_ = std::move(cursor);
    if (!isAlive()) return;
    POINT pointer{};
    // Shown at once only where the pointer is: elsewhere the next
    // WM_SETCURSOR of the window under the pointer would undo it anyway.
    if (GetCursorPos(&pointer) && WindowFromPoint(pointer) == handle()) {
        SendMessageW(handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        checkPendingError();
    }
}

void wWindow::setDropTarget(bool enabled) {
    if (!enabled) {
        dropRegistration_.reset();
        return;
    }
    if (!dropRegistration_) dropRegistration_ = std::make_unique<win32::DropRegistration>(*this);
}

void wWindow::refresh(bool eraseBackground) { InvalidateRect(handle(), nullptr, eraseBackground ? TRUE : FALSE); }

wSize wWindow::bestSize() const { return size(); }

const wWindow* wWindow::backgroundSource() const noexcept {
    const wWindow* window = this;
    while (window && !window->background_) window = window->parent_.get();
    return window;
}

}  // namespace toolkit
