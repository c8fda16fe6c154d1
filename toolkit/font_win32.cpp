#include "toolkit/font_win32.h"

#include <cmath>
#include <cwchar>

#include "runtime/text.h"
#include "toolkit/errors.h"

namespace toolkit {

namespace {

int screenDpi() {
    win32::ScreenDC dc;
    const int dpi = dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

LOGFONTW systemMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) throw wFontError();
    return metrics.lfMessageFont;
}

// Point size of a logical height: negative heights are character heights.
double pointsOf(LONG height) { return std::abs(double(height)) * 72.0 / double(screenDpi()); }

}  // namespace

std::wstring messageFontFace() { return systemMessageFont().lfFaceName; }

wFont::wFont(double pointSize, int weight, bool underline, const std::string& faceName) : logFont_{} {
    logFont_.lfHeight = -LONG(std::lround(pointSize * double(screenDpi()) / 72.0));
    logFont_.lfWeight = weight;
    logFont_.lfUnderline = underline ? TRUE : FALSE;
    logFont_.lfCharSet = DEFAULT_CHARSET;
    logFont_.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont_.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont_.lfQuality = DEFAULT_QUALITY;
    logFont_.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = faceName.empty() ? messageFontFace() : runtime::widen(faceName);
    wcsncpy(logFont_.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    pointSize_ = pointSize;
    font_.reset(CreateFontIndirectW(&logFont_));
    if (!font_) throw wFontError();
}

wFont::wFont(const LOGFONTW& logFont) : logFont_(logFont), pointSize_(pointsOf(logFont.lfHeight)) {
    font_.reset(CreateFontIndirectW(&logFont_));
    if (!font_) throw wFontError();
}

std::shared_ptr<wFont> wFont::messageFont() {
    LOGFONTW logFont = systemMessageFont();
    logFont.lfWeight = FW_NORMAL;
    return std::make_shared<wFont>(logFont);
}

std::shared_ptr<wFont> wFont::withUnderline(bool underline) const {
    LOGFONTW copy = logFont_;
    copy.lfUnderline = underline ? TRUE : FALSE;
    auto font = std::make_shared<wFont>(copy);
    font->pointSize_ = pointSize_;
    return font;
}

std::string wFont::faceName() const { return runtime::narrow(logFont_.lfFaceName); }

}  // namespace toolkit
