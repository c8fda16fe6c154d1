#include "toolkit/static_text_win32.h"

#include "runtime/text.h"
#include "toolkit/font_win32.h"
#include "toolkit/measure_win32.h"

namespace toolkit {

namespace {

wSize labelBestSize(HFONT font, const std::string& label) {
    const wSize extent = win32::textExtent(font, runtime::widen(label));
    return {extent.width + 2, extent.height + 2};
}

}  // namespace

wStaticText::wStaticText(std::shared_ptr<wWindow> parent, std::int32_t id, const std::string& label, wPoint position,
                         wSize size, wStyle style)
    : wControl(std::move(parent)) {
    HFONT font = inheritedFont()->handle();
    const wSize defaultSize{labelBestSize(font, label).width, win32::comboBoxHeight(font)};
    createControl(L"STATIC", label, style, position, size, defaultSize, id);
}

wSize wStaticText::bestSize() const { return labelBestSize(font()->handle(), label()); }

}  // namespace toolkit
