#pragma once
// wButton: a push button whose click raises evtButton (0x8096) on the button
// as a command event, so handlers on its parents see it too.

#include <memory>
#include <string>

#include "toolkit/control_win32.h"

namespace toolkit {

class wButton : public wControl {
public:
    // The default size is 50 by 14 dialog units of the font the button
    // inherits. Raises OSError.
    wButton(std::shared_ptr<wWindow> parent, std::int32_t id, const std::string& label,
            wPoint position = wDefaultPosition, wSize size = wDefaultSize, wStyle style = 0);

protected:
    bool commandNotification(UINT code) override;
};

}  // namespace toolkit
