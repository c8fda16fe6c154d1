// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "toolkit/status_bar_win32.h"

#include <vector>

#include "runtime/text.h"
#include "toolkit/frame_win32.h"

namespace toolkit {

wStatusBar::wStatusBar(std::shared_ptr<wWindow> parent, std::int32_t id, wStyle style) : wControl(parent) {
    wStyle grip = 0;
    if (GetWindowLongW(parent->handle(), GWL_STYLE) & WS_THICKFRAME) grip = SBARS_SIZEGRIP;
    createControl(STATUSCLASSNAMEW, "", style | grip, wDefaultPosition, wDefaultSize, wSize{0, 0}, id);
    setFieldCount(1);
    frame_ = dynamic_cast<wFrame*>(parent.get());
    if (frame_) frame_->attachStatusBar(this);
}

wStatusBar::~wStatusBar() {
    if (frame_ && frame_->statusBar() == this) frame_->attachStatusBar(nullptr);
}

void wStatusBar::setFieldCount(int count) {
    if (count < 1) count = 1;
    const int width = clientSize().width;
    std::vector<int> edges(std::size_t(count), -1);
    for (int i = 0; i + 1 < count; ++i) edges[std::size_t(i)] = width * (i + 1) / count;
    SendMessageW(handle(), SB_SETPARTS, WPARAM(count), reinterpret_cast<LPARAM>(edges.data()));
}

void wStatusBar::setStatusText(const std::string& text, int field) {
    SendMessageW(handle(), SB_SETTEXTW, WPARAM(field), reinterpret_cast<LPARAM>(runtime::widen(text).c_str()));
}

std::string wStatusBar::statusText(int field) const {
    const LRESULT info = SendMessageW(handle(), SB_GETTEXTLENGTHW, WPARAM(field), 0);
    std::wstring text(std::size_t(LOWORD(info)) + 1, L'\0');
    SendMessageW(handle(), SB_GETTEXTW, WPARAM(field), reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(info));
    return runtime::narrow(text);
}

}  // namespace toolkit
