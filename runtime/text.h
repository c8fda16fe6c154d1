#pragma once
// Text is held as UTF-8 everywhere; platform calls that take wide characters
// get UTF-16. Malformed UTF-8 and unpaired surrogates become U+FFFD.

#include <string>
#include <string_view>

namespace runtime {

std::u16string utf8ToUtf16(std::string_view text);

// The text with its control characters written as C escapes ("\n", "\t",
// "\r", other ones as "\xHH"), so that a name holding one prints on one
// line and shows what it holds. Everything else, "\" included, is kept.
std::string escapeControlCharacters(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

#ifdef _WIN32
// wchar_t is UTF-16 on Windows: the wide forms are the same conversion.
inline std::wstring widen(std::string_view text) {
    std::u16string wide = utf8ToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
}
inline std::string narrow(std::wstring_view text) {
    return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}
#endif

}  // namespace runtime
