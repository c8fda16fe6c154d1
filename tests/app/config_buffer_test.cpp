// The reader's buffer: refills at line breaks, doubling for long lines, and
// line and column counting across both.

#include <gtest/gtest.h>

#include "tests/app/config_text.h"

namespace {

using configtest::errorOf;
using configtest::pairsOf;
using Pairs = std::vector<std::string>;
constexpr std::size_t bufferSize = app::BaseLexer::initialBufferSize;

// A comment line that fills the text up to the given offset.
std::string fillerUpTo(std::size_t offset) { return "#" + std::string(offset - 2, 'x') + "\n"; }

TEST(ConfigBuffer, TokensStraddlingTheFirstRefillAreReadWhole) {
    // Every alignment of a pair, a string and a double dash across the
    // 8192-byte mark.
    for (std::size_t start = bufferSize - 24; start <= bufferSize + 2; ++start) {
        const std::string text = fillerUpTo(start) + "some_key = \"quoted value\" --opt=r\"raw\\v\"\nlast=1";
        EXPECT_EQ(pairsOf(text), (Pairs{"/some_key=quoted value", "/--opt=raw\\v", "/last=1"})) << start;
        EXPECT_EQ(errorOf(text + " ="), "test.config(3, 8) Error: invalid token: =") << start;
    }
}

TEST(ConfigBuffer, LineBreakPairsSplitByARefillCountAsTheyWould) {
    // The CR is the last byte of the first fill, the LF the first of the next.
    const std::string head = "#" + std::string(bufferSize - 2, 'x');
    EXPECT_EQ(errorOf(head + "\r\n="), "test.config(2, 1) Error: invalid token: =");
    EXPECT_EQ(errorOf(head + "\n\r="), "test.config(3, 1) Error: invalid token: =");
}

TEST(ConfigBuffer, TripleQuotedStringsRunAcrossRefills) {
    std::string body;
    for (int i = 0; i < 3000; ++i) body += "line " + std::to_string(i) + "\r\n";
    const Pairs pairs = pairsOf("k=\"\"\"\n" + body + "\"\"\" after=1");
    ASSERT_EQ(pairs.size(), 2u);
    std::string expected;
    for (int i = 0; i < 3000; ++i) expected += "line " + std::to_string(i) + "\n";
    EXPECT_EQ(pairs[0], "/k=" + expected);
    EXPECT_EQ(pairs[1], "/after=1");
}

TEST(ConfigBuffer, ALineLongerThan64KiBDoublesTheBuffer) {
    const std::string value(70000, 'v');
    EXPECT_EQ(pairsOf("#c\nk=" + value + "\nnext=1"), (Pairs{"/k=" + value, "/next=1"}));
    const std::string key(70000, 'k');
    EXPECT_EQ(errorOf("a=1\n" + key + "= ="), "test.config(2, 70003) Error: symbol expected, but found: =");

    app::CfgParser parser;
    app::openConfigParser(parser, configtest::sourceOf("k=" + value), "x");
    // Only ever doubled: 8192 -> ... -> 131072.
    EXPECT_EQ(parser.lexer.bufferSize(), 131072u);
}

TEST(ConfigBuffer, TextWhoseLinesNeverEndStillParses) {
    std::string text;
    int count = 0;
    for (; text.size() < 3 * 1024 * 1024; ++count) {
        text += "key" + std::to_string(count % 1000) + "=" + std::to_string(count) + " ";
    }
    const app::ConfigTable table = configtest::tableOf(text);
    EXPECT_EQ(table.find("")->size(), 1000u);
    EXPECT_EQ(app::configValue(table, "", "key" + std::to_string((count - 1) % 1000)), std::to_string(count - 1));
    EXPECT_EQ(errorOf(text + ":"), "test.config(1, " + std::to_string(text.size() + 1) + ") Error: invalid token: :");
}

TEST(ConfigBuffer, AnyStartingSizeGivesTheSameEvents) {
    // Small buffers refill and double at every few bytes; what the text means
    // must not depend on where that happens.
    const std::string text =
        "\xEF\xBB\xBF# settings\r\nbit_depth = 16\n\r[sec]\nname=\"a \\x41\\n\"  --flag\r\n"
        "long = \"\"\"one\r\ntwo\n\"\"\" tail: r\"C:\\dir\" \n[bad section]";
    const auto reference = configtest::eventsOf(text);
    ASSERT_EQ(reference.back().kind, app::CfgEventKind::ErrorEvent);
    for (std::size_t size = 1; size <= 64; ++size) {
        const auto events = configtest::eventsOf(text, size);
        ASSERT_EQ(events.size(), reference.size()) << size;
        for (std::size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(events[i].kind, reference[i].kind) << size;
            EXPECT_EQ(events[i].key + events[i].value + events[i].section + events[i].msg,
                      reference[i].key + reference[i].value + reference[i].section + reference[i].msg)
                << size << " event " << i;
        }
    }
}

}  // namespace
