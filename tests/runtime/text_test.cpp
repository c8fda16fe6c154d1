#include "runtime/text.h"

#include <gtest/gtest.h>

namespace runtime {
namespace {

TEST(TextConversion, RoundTripsEveryPlane) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5";  // a, e acute, euro, musical note
    const std::u16string wide = utf8ToUtf16(text);
    EXPECT_EQ(wide, std::u16string(u"a\u00E9\u20AC\U0001F3B5"));
    EXPECT_EQ(utf16ToUtf8(wide), text);
}

TEST(TextConversion, UnpairedSurrogatesBecomeReplacementCharacters) {
    const std::u16string lone = {u'x', 0xD800, u'y', 0xDC00};
    EXPECT_EQ(utf16ToUtf8(lone), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
    const std::u16string highAtEnd = {0xD83C};
    EXPECT_EQ(utf16ToUtf8(highAtEnd), "\xEF\xBF\xBD");
}

TEST(TextConversion, MalformedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(utf8ToUtf16("\xFF"), std::u16string(u"\uFFFD"));
    EXPECT_EQ(utf8ToUtf16("\xC3"), std::u16string(u"\uFFFD"));                      // cut short
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), std::u16string(u"\uFFFD\uFFFD"));            // overlong
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), std::u16string(u"\uFFFD\uFFFD\uFFFD"));  // encoded surrogate
}

TEST(EscapeControlCharacters, OnlyControlCharactersChangeAndEachStaysReadable) {
    EXPECT_EQ(escapeControlCharacters("C:\\a b\xC3\xA9.wav"), "C:\\a b\xC3\xA9.wav");
    EXPECT_EQ(escapeControlCharacters(std::string("a\nb\tc\rd\x01\x7F\0e", 11)), "a\\nb\\tc\\rd\\x01\\x7f\\x00e");
}

}  // namespace
}  // namespace runtime
