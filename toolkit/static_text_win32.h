#pragma once
// wStaticText: a label that paints in its foreground colour.

#include <memory>
#include <string>

#include "toolkit/control_win32.h"

namespace toolkit {

class wStaticText : public wControl {
public:
    // The default size is the best width and the height of a one-line combo
    // box, both in the font the control inherits. Raises OSError.
    wStaticText(std::shared_ptr<wWindow> parent, std::int32_t id, const std::string& label,
                wPoint position = wDefaultPosition, wSize size = wDefaultSize, wStyle style = 0);

    // The extent of the label in the current font, plus 2 pixels in width and
    // 2 in height.
    wSize bestSize() const override;
};

}  // namespace toolkit
