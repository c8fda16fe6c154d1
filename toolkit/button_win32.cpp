#include "toolkit/button_win32.h"

#include "toolkit/font_win32.h"
#include "toolkit/measure_win32.h"
#include "toolkit/message_numbers.h"

namespace toolkit {

wButton::wButton(std::shared_ptr<wWindow> parent, std::int32_t id, const std::string& label, wPoint position,
                 wSize size, wStyle style)
    : wControl(std::move(parent)) {
    const wSize defaultSize = win32::pushButtonSize(inheritedFont()->handle());
    createControl(L"BUTTON", label, style | BS_PUSHBUTTON | WS_TABSTOP, position, size, defaultSize, id);
}

bool wButton::commandNotification(UINT code) {
    if (code != BN_CLICKED) return false;
    wCommandEvent click(this, evtButton, MAKEWPARAM(std::uint16_t(id()), BN_CLICKED), 0);
    dispatcher().raise(click);
    return true;
}

}  // namespace toolkit
