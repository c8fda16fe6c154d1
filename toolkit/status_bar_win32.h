#pragma once
// wStatusBar: the status line at the bottom of a frame.

#include <memory>
#include <string>

#include "toolkit/control_win32.h"

namespace toolkit {

class wFrame;

class wStatusBar : public wControl {
public:
    // A status bar with one field on parent; on a wFrame, the frame keeps its
    // child above it. Raises OSError.
    explicit wStatusBar(std::shared_ptr<wWindow> parent, std::int32_t id = wDefaultId, wStyle style = 0);
    ~wStatusBar() override;

    // Splits the bar into count fields of equal width, the last one taking
    // the rest.
    void setFieldCount(int count);

    // SB_SETTEXTW on the field, no drawing flags.
    void setStatusText(const std::string& text, int field = 0);
    std::string statusText(int field = 0) const;

private:
    wFrame* frame_ = nullptr;
};

}  // namespace toolkit
