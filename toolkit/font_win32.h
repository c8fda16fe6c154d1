#pragma once
// Fonts: point sizes with fractions, shared by reference between windows.

#include <windows.h>

#include <memory>
#include <string>

#include "toolkit/handles_win32.h"

namespace toolkit {

class wFont {
public:
    // A font of pointSize points (fractions allowed) and the given weight
    // (400 normal, 700 bold), in faceName, or in the face of the system's
    // message font when faceName is empty. Raises wFontError.
    explicit wFont(double pointSize, int weight = FW_NORMAL, bool underline = false, const std::string& faceName = {});

    // The system's message font at its own size with weight 400: the
    // toolkit's default font. Raises wFontError.
    static std::shared_ptr<wFont> messageFont();

    // A new font with the same face, size, family, weight, italic, strike-out
    // and character set, and the given underline. Raises wFontError.
    std::shared_ptr<wFont> withUnderline(bool underline) const;

    HFONT handle() const noexcept { return font_.get(); }
    double pointSize() const noexcept { return pointSize_; }
    int weight() const noexcept { return int(logFont_.lfWeight); }
    bool isUnderlined() const noexcept { return logFont_.lfUnderline != 0; }
    bool isItalic() const noexcept { return logFont_.lfItalic != 0; }
    std::string faceName() const;
    const LOGFONTW& logFont() const noexcept { return logFont_; }

    // Builds the font a logical description asks for. Raises wFontError.
    explicit wFont(const LOGFONTW& logFont);

private:
    LOGFONTW logFont_;
    double pointSize_;
    win32::FontHandle font_;
};

// The face of the system's message font.
std::wstring messageFontFace();

}  // namespace toolkit
