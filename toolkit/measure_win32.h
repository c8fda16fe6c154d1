#pragma once
// Measurements behind the controls' default and best sizes.

#include <windows.h>

#include <string>

#include "toolkit/geometry.h"

namespace toolkit::win32 {

// Extent of the text drawn in the font, as a static control draws it
// (multiple lines, & prefixes); an empty text is one line high.
wSize textExtent(HFONT font, const std::wstring& text);

// 50 by 14 dialog units in the font: the average character width is
// ((width of "A".."Z" "a".."z") / 26 + 1) / 2, the character height that
// text's height.
wSize pushButtonSize(HFONT font);

// Height of a one-line combo box in the font, measured on a hidden one.
int comboBoxHeight(HFONT font);

}  // namespace toolkit::win32
