#pragma once
// wTextCtrl: a text box with a sunken edge and a white background; with the
// wTeRich flag a rich edit ("RICHEDIT50W" from "msftedit.dll"), or a plain
// edit control when that library is missing.

#include <memory>
#include <string>

#include "toolkit/control_win32.h"

namespace toolkit {

class wTextCtrl : public wControl {
public:
    // style takes ES_* bits and wTeRich. The default size is 120 pixels wide
    // and three one-line combo-box heights tall for ES_MULTILINE (one height
    // otherwise), in the font the control inherits. Raises OSError.
    wTextCtrl(std::shared_ptr<wWindow> parent, std::int32_t id, const std::string& value,
              wPoint position = wDefaultPosition, wSize size = wDefaultSize, wStyle style = 0);

    // True when the control is a rich edit.
    bool isRich() const noexcept { return rich_; }

    std::string value() const { return label(); }
    // Sets the text as plain window text.
    void setValue(const std::string& value) { setLabel(value); }

    // The modified flag (EM_GETMODIFY / EM_SETMODIFY).
    bool isModified() const;
    void setModified(bool modified);

    // Left and right inner margins in pixels (EM_SETMARGINS).
    void setMargins(int left, int right);

    // Replaces the content with rich text (EM_STREAMIN, SF_RTF). A plain edit
    // control cannot show it and is left unchanged. Raises OSError when the
    // control reports an error while reading.
    void loadRtf(const std::string& rtf);

    void setBackgroundColor(wColor color) override;

private:
    bool rich_ = false;
};

}  // namespace toolkit
