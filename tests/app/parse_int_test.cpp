#include "app/config/parse_int.h"

#include <gtest/gtest.h>

#include "runtime/errors.h"

namespace {

std::string failureOf(const std::string& text) {
    try {
        app::parseInt(text);
    } catch (const runtime::ValueError& error) {
        return error.what();
    }
    return "no error";
}

const std::string outOfRange = "Parsed integer outside of valid range";

TEST(ParseInt, ReadsSignedDecimalWithUnderscores) {
    EXPECT_EQ(app::parseInt("0"), 0);
    EXPECT_EQ(app::parseInt("44100"), 44100);
    EXPECT_EQ(app::parseInt("+16"), 16);
    EXPECT_EQ(app::parseInt("-8"), -8);
    EXPECT_EQ(app::parseInt("007"), 7);
    EXPECT_EQ(app::parseInt("1_000__000_"), 1000000);
    EXPECT_EQ(app::parseInt("-0"), 0);
}

TEST(ParseInt, AcceptsExactlyThe32BitRange) {
    EXPECT_EQ(app::parseInt("2147483647"), 2147483647);
    EXPECT_EQ(app::parseInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(app::parseInt("-000002147483648"), -2147483647 - 1);
    EXPECT_EQ(failureOf("2147483648"), outOfRange);
    EXPECT_EQ(failureOf("-2147483649"), outOfRange);
}

TEST(ParseInt, NumbersBeyond64BitsFailAsOutOfRangeToo) {
    EXPECT_EQ(failureOf("9223372036854775807"), outOfRange);
    EXPECT_EQ(failureOf("9223372036854775808"), outOfRange);
    EXPECT_EQ(failureOf("-9223372036854775808"), outOfRange);
    EXPECT_EQ(failureOf("-9223372036854775809"), outOfRange);
    EXPECT_EQ(failureOf("99999999999999999999999999"), outOfRange);
    // The range is checked on the number read, before the rest of the text.
    EXPECT_EQ(failureOf("2147483648abc"), outOfRange);
    EXPECT_EQ(failureOf("99999999999999999999 "), outOfRange);
}

TEST(ParseInt, AnythingButOneWholeNumberIsInvalid) {
    for (const char* text :
         {"", "+", "-", "_1", " 1", "1 ", "0x10", "1.5", "abc", "1_x", "--1", "+-1", "1e3", "\xEF\xBC\x91"}) {
        EXPECT_EQ(failureOf(text), std::string("invalid integer: ") + text) << text;
    }
}

}  // namespace
