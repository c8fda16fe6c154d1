#include "toolkit/panel_win32.h"

namespace toolkit {

wPanel::wPanel(std::shared_ptr<wWindow> parent, wPoint position, wSize size, wStyle style,
               const std::wstring& className)
    : wWindow(parent->sharedApp(), parent) {
    CreateParams params;
    params.className = className;
    // Dialog navigation (Tab) reaches the controls inside the panel.
    params.style = style | WS_VISIBLE | extendedStyle(WS_EX_CONTROLPARENT);
    params.position = position;
    params.size = size;
    create(params);
    setBackgroundColor(GetSysColor(COLOR_BTNFACE));
}

}  // namespace toolkit
