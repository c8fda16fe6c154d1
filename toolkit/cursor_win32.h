#pragma once
// Cursors, shared by reference between the windows that show them.

#include <windows.h>

#include <memory>

#include "toolkit/handles_win32.h"

namespace toolkit {

class wCursor {
public:
    // One of the system's cursors (IDC_HAND, IDC_ARROW, ...). The system owns
    // it, so it is never destroyed. Raises wCursorError.
    static std::shared_ptr<wCursor> system(LPCWSTR id);

    // Takes ownership of a cursor the program made.
    explicit wCursor(win32::CursorHandle owned) noexcept;

    HCURSOR handle() const noexcept { return owned_ ? owned_.get() : shared_; }

private:
    explicit wCursor(HCURSOR shared) noexcept : shared_(shared) {}
    HCURSOR shared_ = nullptr;
    win32::CursorHandle owned_;
};

}  // namespace toolkit
