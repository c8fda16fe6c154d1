#include "app/gui/captions.h"

#include <cmath>

#include "runtime/text.h"

namespace app {

namespace {

// Appends the text with RTF's special characters escaped and anything
// beyond ASCII as \uN? (N the signed 16-bit UTF-16 unit, ? the fallback).
void appendEscaped(std::string& rtf, std::string_view text) {
    for (char16_t unit : runtime::utf8ToUtf16(text)) {
        if (unit == u'\\' || unit == u'{' || unit == u'}') {
            rtf += '\\';
            rtf += char(unit);
        } else if (unit < 0x80) {
            rtf += char(unit);
        } else {
            rtf += "\\u" + std::to_string(std::int16_t(unit)) + "?";
        }
    }
}

}  // namespace

std::string helpText() {
    return "  1. Drag and drop a folder or file here, or click the **Open Folder** or **Open File** button\n"
           "\n"
           "  2. The output will be saved starting with **zz_**\n"
           "\n"
           "  You can adjust the output settings in the configuration file next to the executable\n"
           "\n"
           "  <" +
           std::string(homePageUrl) + "> (c) The Quenmarl authors\n";
}

std::string helpTextRtf(std::string_view plainText, std::string_view faceName, double pointSize) {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 ";
    appendEscaped(rtf, faceName);
    // RTF sizes are half points.
    rtf += ";}}\\f0\\fs" + std::to_string(std::lround(pointSize * 2)) + " ";
    bool bold = false;
    std::size_t at = 0;
    while (at < plainText.size()) {
        const std::size_t next = plainText.find_first_of("*\n", at);
        appendEscaped(rtf, plainText.substr(at, next - at));
        if (next == std::string_view::npos) break;
        if (plainText[next] == '\n') {
            rtf += "\\par\n";
            at = next + 1;
        } else if (plainText.substr(next, 2) == "**") {
            bold = !bold;
            rtf += bold ? "\\b " : "\\b0 ";
            at = next + 2;
        } else {
            rtf += '*';  // a lone asterisk is text
            at = next + 1;
        }
    }
    if (bold) rtf += "\\b0 ";
    return rtf + "}";
}

}  // namespace app
