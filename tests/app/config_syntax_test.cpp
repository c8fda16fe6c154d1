// Tokens, strings, events and error messages of the configuration text.

#include <gtest/gtest.h>

#include "tests/app/config_text.h"

namespace {

using configtest::errorOf;
using configtest::pairsOf;
using Pairs = std::vector<std::string>;

TEST(ConfigText, BlankAndCommentOnlyTextsGiveAnEmptyTable) {
    for (const char* text : {"", "  \t\r\n\n", "# a comment\n; another\r\n   # indented", "[section]", "[a]\n[b]"}) {
        EXPECT_TRUE(configtest::tableOf(text).empty()) << text;
        EXPECT_EQ(errorOf(text), "") << text;
    }
}

TEST(ConfigText, PairsBeforeAnySectionGoToTheUnnamedOne) {
    EXPECT_EQ(pairsOf("bit_depth=8"), Pairs{"/bit_depth=8"});
    const char* sameLines[] = {"key = value", "key:value", "key\n=\nvalue", "key\r\n :\r\n value\n", "key\t=\tvalue"};
    for (const char* text : sameLines) EXPECT_EQ(pairsOf(text), Pairs{"/key=value"}) << text;
}

TEST(ConfigText, AKeyWithoutSignHasAnEmptyValueAndLeavesTheNextToken) {
    EXPECT_EQ(pairsOf("alone\nnext=1"), (Pairs{"/alone=", "/next=1"}));
    EXPECT_EQ(pairsOf("two=1 pairs=2"), (Pairs{"/two=1", "/pairs=2"}));
    // A blank ends a value: the digits after it are a key of their own.
    EXPECT_EQ(pairsOf("size=5 000"), (Pairs{"/size=5", "/000="}));
}

TEST(ConfigText, CommentsEndAValueWhereTheyStart) {
    EXPECT_EQ(pairsOf("a=1# note\nb=2;note"), (Pairs{"/a=1", "/b=2"}));
}

TEST(ConfigText, SymbolsTakeLettersDigitsPathBytesAndHighBytes) {
    EXPECT_EQ(pairsOf("p=a/b\\c.d-e_f"), Pairs{"/p=a/b\\c.d-e_f"});
    EXPECT_EQ(pairsOf("cl\xC3\xA9=\xE2\x98\x83"), Pairs{"/cl\xC3\xA9=\xE2\x98\x83"});
    // Any other first byte starts a symbol, but only symbol bytes continue it.
    EXPECT_EQ(pairsOf("k=a!b"), (Pairs{"/k=a", "/!b="}));
    EXPECT_EQ(pairsOf("-x=-1 r=rr"), (Pairs{"/-x=-1", "/r=rr"}));
}

TEST(ConfigText, ADriveLetterPathStopsAtTheColonUnlessQuoted) {
    EXPECT_EQ(pairsOf("path=C:\\x\nlater=1"), Pairs{"/path=C"});
    EXPECT_EQ(errorOf("path=C:\\x"), "test.config(1, 7) Error: invalid token: :");
    EXPECT_EQ(pairsOf("path=r\"C:\\x\""), Pairs{"/path=C:\\x"});
    EXPECT_EQ(pairsOf("path=R\"C:\\x\""), Pairs{"/path=C:\\x"});
    EXPECT_EQ(pairsOf("path=\"C:\\\\x\""), Pairs{"/path=C:\\x"});
    EXPECT_EQ(errorOf("path=\"C:\\qx\""), "test.config(1, 12) Error: symbol expected, but found: C:qx");
}

TEST(ConfigText, EveryEscapeAddsItsByte) {
    struct Case {
        const char* escape;
        std::string bytes;
    };
    // clang-format off
    const Case cases[] = {
        {"\\n\\N\\l\\L", "\n\n\n\n"}, {"\\r\\R\\c\\C", "\r\r\r\r"}, {"\\f\\F", "\f\f"},   {"\\e\\E", "\x1B\x1B"},
        {"\\a\\A", "\a\a"},           {"\\b\\B", "\b\b"},           {"\\v\\V", "\v\v"},   {"\\t\\T", "\t\t"},
        {"\\\"\\'\\\\", "\"'\\"},     {"\\x41\\X6a", "Aj"},         {"\\x4g", "\x04g"},   {"\\x", std::string(1, '\0')},
        {"\\x123", "\x12" "3"},       {"\\65\\065", "AA"},          {"\\255", "\xFF"},    {"\\0", std::string(1, '\0')},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(pairsOf(std::string("k=\"") + c.escape + "\""), Pairs{"/k=" + c.bytes}) << c.escape;
    }
    EXPECT_EQ(errorOf("k=\"\\256\""), "test.config(1, 8) Error: symbol expected, but found: ");
}

TEST(ConfigText, TripleQuotedStringsSpanLinesWithoutEscapes) {
    EXPECT_EQ(pairsOf("k=\"\"\"\r\none\r\ntwo\n\"\"\""), Pairs{"/k=one\ntwo\n"});
    EXPECT_EQ(pairsOf("k=\"\"\"a \"b\" \"\"c\\n\"\"\""), Pairs{"/k=a \"b\" \"\"c\\n"});
    EXPECT_EQ(pairsOf("k=r\"\"\"x\\y\"\"\""), Pairs{"/k=x\\y"});
    EXPECT_EQ(pairsOf("k=\"\" next"), (Pairs{"/k=", "/next="}));
    EXPECT_EQ(errorOf("k=\"\"\"open\nstill"), "test.config(2, 5) Error: symbol expected, but found: open\nstill");
}

TEST(ConfigText, AnOrdinaryStringEndsBadlyAtALineBreak) {
    EXPECT_EQ(errorOf("k=\"open\nnext=1"), "test.config(1, 7) Error: symbol expected, but found: open");
    EXPECT_EQ(errorOf("\"open"), "test.config(1, 5) Error: invalid token: open");
}

TEST(ConfigText, SectionsFilePairsUnderTheirNames) {
    EXPECT_EQ(pairsOf("a=1\n[s]\nb=2\n[\"q t\"]\nc=3\n[s]\nd=4"), (Pairs{"/a=1", "s/b=2", "s/d=4", "q t/c=3"}));
}

TEST(ConfigText, BadSectionHeadersStopReadingAndKeepEarlierPairs) {
    EXPECT_EQ(pairsOf("a=1\n[two words]\nb=2"), Pairs{"/a=1"});
    EXPECT_EQ(errorOf("a=1\n[two words]"), "test.config(2, 10) Error: ']' expected, but found: words");
    EXPECT_EQ(pairsOf("a=1\n[]\nb=2"), Pairs{"/a=1"});
    // The missing name is reported first, then replaced by what follows "]".
    EXPECT_EQ(errorOf("[]\nb=2"), "test.config(2, 1) Error: ']' expected, but found: b");
    EXPECT_EQ(errorOf("[=]"), "test.config(1, 2) Error: symbol expected, but found: =");
}

TEST(ConfigText, OptionsAreStoredUnderTwoDashes) {
    EXPECT_EQ(pairsOf("--verbose --level=3 ---x"), (Pairs{"/--verbose=", "/--level=3", "/---x="}));
    EXPECT_EQ(errorOf("-- =1"), "test.config(1, 4) Error: symbol expected, but found: =");
}

TEST(ConfigText, ALaterValueReplacesAnEarlierOneInPlace) { EXPECT_EQ(pairsOf("a=1 b=2 a=3"), (Pairs{"/a=3", "/b=2"})); }

TEST(ConfigText, ByteOrderMarkIsSkippedAndColumnsCountAfterIt) {
    EXPECT_EQ(pairsOf(std::string("\xEF\xBB\xBF") + "a=1"), Pairs{"/a=1"});
    EXPECT_EQ(errorOf("\xEF\xBB\xBF="), "test.config(1, 1) Error: invalid token: =");
    // Only at the very start.
    EXPECT_EQ(pairsOf("a=\xEF\xBB\xBF"), Pairs{"/a=\xEF\xBB\xBF"});
}

TEST(ConfigText, EachErrorNamesTheLineAndColumnAfterTheOffendingToken) {
    EXPECT_EQ(errorOf("=x"), "test.config(1, 1) Error: invalid token: =");
    EXPECT_EQ(errorOf("a=1\n  :"), "test.config(2, 3) Error: invalid token: :");
    EXPECT_EQ(errorOf("a=1\n\n ]"), "test.config(3, 2) Error: invalid token: ]");
    EXPECT_EQ(errorOf("a=1\n  b = ="), "test.config(2, 7) Error: symbol expected, but found: =");
    EXPECT_EQ(errorOf("a=1\nb =  "), "test.config(2, 5) Error: symbol expected, but found: [EOF]");
    EXPECT_EQ(errorOf("[s"), "test.config(1, 2) Error: ']' expected, but found: [EOF]");
    // CR LF is one break, LF CR two, a lone CR one.
    EXPECT_EQ(errorOf("\r\n ="), "test.config(2, 2) Error: invalid token: =");
    EXPECT_EQ(errorOf("\n\r ="), "test.config(3, 2) Error: invalid token: =");
    EXPECT_EQ(errorOf("\r\r ="), "test.config(3, 2) Error: invalid token: =");
}

TEST(ConfigText, AByteZeroEndsTheInput) {
    EXPECT_EQ(pairsOf(std::string("a=1\0b=2", 7)), Pairs{"/a=1"});
    EXPECT_EQ(errorOf(std::string("a=\0b", 4)), "test.config(1, 2) Error: symbol expected, but found: [EOF]");
}

TEST(ConfigText, EndEventRepeatsOnceTheInputIsDone) {
    app::CfgParser parser;
    app::openConfigParser(parser, configtest::sourceOf("a=1"), "x");
    EXPECT_EQ(app::nextConfigEvent(parser).kind, app::CfgEventKind::PairEvent);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(app::nextConfigEvent(parser).kind, app::CfgEventKind::EndEvent);
    app::closeConfigParser(parser);
}

}  // namespace
