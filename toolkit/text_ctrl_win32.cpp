// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <richedit.h>
// clang-format on

#include "toolkit/text_ctrl_win32.h"

#include <algorithm>
#include <cstring>

#include "runtime/errors.h"
#include "toolkit/app.h"
#include "toolkit/font_win32.h"
#include "toolkit/measure_win32.h"

namespace toolkit {

namespace {

struct StreamSource {
    const std::string* text;
    std::size_t offset;
};

DWORD CALLBACK readChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const std::size_t count = std::min<std::size_t>(std::size_t(wanted), source->text->size() - source->offset);
    std::memcpy(buffer, source->text->data() + source->offset, count);
    source->offset += count;
    *given = LONG(count);
    return 0;
}

}  // namespace

wTextCtrl::wTextCtrl(std::shared_ptr<wWindow> parent, std::int32_t id, const std::string& value, wPoint position,
                     wSize size, wStyle style)
    : wControl(std::move(parent)) {
    rich_ = (style & wTeRich) && app().hasRichEdit();
    const int comboHeight = win32::comboBoxHeight(inheritedFont()->handle());
    const bool multiLine = (windowStylePart(style) & ES_MULTILINE) != 0;
    const wSize defaultSize{120, multiLine ? 3 * comboHeight : comboHeight};
    createControl(rich_ ? MSFTEDIT_CLASS : L"EDIT", value, style | WS_TABSTOP | extendedStyle(WS_EX_CLIENTEDGE),
                  position, size, defaultSize, id);
    setBackgroundColor(rgb(255, 255, 255));
}

bool wTextCtrl::isModified() const { return SendMessageW(handle(), EM_GETMODIFY, 0, 0) != 0; }

void wTextCtrl::setModified(bool modified) { SendMessageW(handle(), EM_SETMODIFY, modified ? TRUE : FALSE, 0); }

void wTextCtrl::setMargins(int left, int right) {
    SendMessageW(handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(left, right));
}

void wTextCtrl::loadRtf(const std::string& rtf) {
    if (!rich_) return;
    StreamSource source{&rtf, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &readChunk;
    SendMessageW(handle(), EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    checkPendingError();
    if (stream.dwError != 0) throw runtime::osErrorFromCode(stream.dwError, "EM_STREAMIN");
}

void wTextCtrl::setBackgroundColor(wColor color) {
    wWindow::setBackgroundColor(color);
    // A rich edit paints its own background; a plain edit asks its parent.
    if (rich_) SendMessageW(handle(), EM_SETBKGNDCOLOR, 0, LPARAM(color));
    refresh();
}

}  // namespace toolkit
