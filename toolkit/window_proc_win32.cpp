// The window procedures and what every toolkit window does with its
// messages: mouse tracking for the enter and leave events, the cursor, the
// background, and the notifications that a parent passes on to its controls.
// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>
// clang-format on

#include "toolkit/window_proc_win32.h"

#include "toolkit/cursor_win32.h"
#include "toolkit/drop_target_win32.h"
#include "toolkit/message_numbers.h"
#include "toolkit/window_win32.h"

namespace toolkit {

namespace win32 {

namespace {

// The one place where errors from handlers stop: they must not unwind
// through the platform's frames. The dispatcher keeps them for the loop.
LRESULT guarded(wWindow& window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // A handler may release the last reference to the window; keep it alive
    // until its message is done, error included. (Null during construction,
    // when nothing else can release it.)
    const std::shared_ptr<wWindow> keepAlive = window.weak_from_this().lock();
    try {
        return window.handleMessage(message, wParam, lParam);
    } catch (...) {
        window.dispatcher().setPendingError(std::current_exception());
        return 0;
    }
}

}  // namespace

LRESULT CALLBACK windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    wWindow* window = wWindow::fromHandle(handle);
    if (!window) return DefWindowProcW(handle, message, wParam, lParam);
    return guarded(*window, message, wParam, lParam);
}

LRESULT CALLBACK controlProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR reference) {
    wWindow* window = reinterpret_cast<wWindow*>(reference);
    if (!window) return DefSubclassProc(handle, message, wParam, lParam);
    return guarded(*window, message, wParam, lParam);
}

}  // namespace win32

LRESULT wWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            trackMouse(wParam, lParam);
            break;
        case WM_MOUSELEAVE:
            mouseTracked_ = false;
            break;
        case WM_DESTROY:
            // OLE must let go of the drop target while the window exists.
            dropRegistration_.reset();
            break;
        default:
            break;
    }

    // A handler may destroy the window; the default procedure then has
    // nothing left to work on.
    HWND window = handle();
    const LRESULT result = dispatcher().route(this, message, wParam, lParam, [&]() -> LRESULT {
        if (!IsWindow(window)) return 0;
        return platformControl_ ? DefSubclassProc(window, message, wParam, lParam)
                                : DefWindowProcW(window, message, wParam, lParam);
    });
    if (message == WM_NCDESTROY) handleDestroyed();
    return result;
}

void wWindow::trackMouse(WPARAM wParam, LPARAM lParam) {
    RECT client{};
    GetClientRect(handle(), &client);
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool inside = PtInRect(&client, point) != FALSE;
    if (inside && !mouseTracked_) {
        TRACKMOUSEEVENT tracking{sizeof tracking, TME_LEAVE, handle(), 0};
        TrackMouseEvent(&tracking);
        mouseTracked_ = true;
        wEvent enter(this, evtMouseEnter, wParam, lParam);
        dispatcher().raise(enter);
    } else if (!inside && mouseTracked_) {
        // Moves outside the client area arrive only while this window holds
        // the mouse capture, and the platform may hold the leave back until
        // the capture ends: report it now, once.
        TRACKMOUSEEVENT cancel{sizeof cancel, TME_LEAVE | TME_CANCEL, handle(), 0};
        TrackMouseEvent(&cancel);
        SendMessageW(handle(), WM_MOUSELEAVE, 0, 0);
    }
}

bool wWindow::defaultProcessing(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                std::intptr_t& result) {
    switch (message) {
        case WM_SETCURSOR:
            if (cursor_ && reinterpret_cast<HWND>(wParam) == handle() && LOWORD(lParam) == HTCLIENT) {
                SetCursor(cursor_->handle());
                result = TRUE;
                return true;
            }
            return false;
        case WM_ERASEBKGND:
            // Controls paint their own background (through controlColor).
            if (!platformControl_ && backgroundBrush_) {
                RECT client{};
                GetClientRect(handle(), &client);
                FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush_.get());
                result = 1;
                return true;
            }
            return false;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX: {
            wWindow* child = fromHandle(reinterpret_cast<HWND>(lParam));
            if (!child || child == this) return false;
            HBRUSH brush = child->controlColor(reinterpret_cast<HDC>(wParam));
            if (!brush) return false;
            result = reinterpret_cast<std::intptr_t>(brush);
            return true;
        }
        case WM_COMMAND: {
            wWindow* child = fromHandle(reinterpret_cast<HWND>(lParam));
            if (!child || child == this || !child->commandNotification(HIWORD(wParam))) return false;
            result = 0;
            return true;
        }
        default:
            return false;
    }
}

bool wWindow::commandNotification(UINT) { return false; }

HBRUSH wWindow::controlColor(HDC dc) {
    if (!foreground_ && !background_) return nullptr;
    if (foreground_) SetTextColor(dc, *foreground_);
    if (const wWindow* source = backgroundSource()) {
        SetBkColor(dc, *source->background_);
        return source->backgroundBrush_.get();
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace toolkit
