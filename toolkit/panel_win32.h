#pragma once
// wPanel: a plain child window that carries controls, painted in the dialog
// face colour (COLOR_BTNFACE).

#include <memory>
#include <string>

#include "toolkit/window_win32.h"

namespace toolkit {

class wPanel : public wWindow {
public:
    // A visible child of parent with the window class name given; a default
    // size is 0 by 0 until its parent sizes it. Raises OSError.
    wPanel(std::shared_ptr<wWindow> parent, wPoint position = wDefaultPosition, wSize size = wDefaultSize,
           wStyle style = 0, const std::wstring& className = L"wPanel");
};

}  // namespace toolkit
