#include "runtime/text.h"

#include <cstdint>

namespace runtime {

namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

// Decodes one code point at text[i] and advances i. Any malformed sequence
// (bad lead byte, missing continuation, overlong form, surrogate, beyond
// U+10FFFF) yields U+FFFD and consumes one byte.
char32_t decodeUtf8(std::string_view text, std::size_t& i) {
    const auto byteAt = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const std::uint8_t lead = byteAt(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int length = 0;
    char32_t minimum = 0;
    char32_t value = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, value = lead & 0x07;
    } else {
        ++i;
        return replacementCharacter;
    }
    if (i + length > text.size()) {
        ++i;
        return replacementCharacter;
    }
    for (int k = 1; k < length; ++k) {
        const std::uint8_t next = byteAt(i + k);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return replacementCharacter;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++i;
        return replacementCharacter;
    }
    i += length;
    return value;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = decodeUtf8(text, i);
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            const char32_t v = c - 0x10000;
            out += static_cast<char16_t>(0xD800 | (v >> 10));
            out += static_cast<char16_t>(0xDC00 | (v & 0x3FF));
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t c = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const bool paired = i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            if (paired) {
                c = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
                ++i;
            } else {
                c = replacementCharacter;
            }
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            c = replacementCharacter;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::string escapeControlCharacters(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            escaped += c;
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (c == '\r') {
            escaped += "\\r";
        } else {
            static constexpr char digits[] = "0123456789abcdef";
            escaped += "\\x";
            escaped += digits[byte >> 4];
            escaped += digits[byte & 0xF];
        }
    }
    return escaped;
}

}  // namespace runtime
