#include "toolkit/cursor_win32.h"

#include "toolkit/errors.h"

namespace toolkit {

std::shared_ptr<wCursor> wCursor::system(LPCWSTR id) {
    HCURSOR cursor = LoadCursorW(nullptr, id);
    if (!cursor) throw wCursorError();
    return std::shared_ptr<wCursor>(new wCursor(cursor));
}

wCursor::wCursor(win32::CursorHandle owned) noexcept : owned_(std::move(owned)) {}

}  // namespace toolkit
