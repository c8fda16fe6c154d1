// Fuzzes the configuration reader and the number conversion.
//
// Beyond crashes and sanitizer findings it checks two properties: the events
// of a text do not depend on the buffer's starting size (so refills and
// doubling are invisible), and parseInt agrees with a plain reference.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/config/cfg_parser.h"
#include "app/config/config_table.h"
#include "app/config/parse_int.h"
#include "runtime/errors.h"

namespace {

// Serves a text held in memory, in full reads as ByteSource asks.
class TextSource final : public app::ByteSource {
public:
    explicit TextSource(std::string_view text) : text_(text) {}
    std::size_t read(char* dest, std::size_t count) override {
        const std::size_t n = std::min(count, text_.size() - offset_);
        text_.copy(dest, n, offset_);
        offset_ += n;
        return n;
    }

private:
    std::string_view text_;
    std::size_t offset_ = 0;
};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

std::vector<app::CfgEvent> eventsOf(std::string_view text, std::size_t bufferSize) {
    app::CfgParser parser;
    app::openConfigParser(parser, std::make_unique<TextSource>(text), "fuzz.config", bufferSize);
    std::vector<app::CfgEvent> events;
    do {
        events.push_back(app::nextConfigEvent(parser));
        // Every event but the last consumes at least one byte.
        if (events.size() > text.size() + 2) fail("more events than bytes");
    } while (events.back().kind != app::CfgEventKind::EndEvent && events.back().kind != app::CfgEventKind::ErrorEvent);
    app::closeConfigParser(parser);
    return events;
}

bool sameEvent(const app::CfgEvent& a, const app::CfgEvent& b) {
    return a.kind == b.kind && a.section == b.section && a.key == b.key && a.value == b.value && a.msg == b.msg;
}

enum class Outcome { number, outOfRange, invalid };

// The number a text holds, by the plain reading of the rules: the longest
// front part of sign, digit and then digits or underscores; out of range
// beyond 32 bits; invalid when that is not the whole text.
Outcome referenceParse(std::string_view text, std::int64_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return Outcome::invalid;
    std::string digits;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (!(digits.empty() && text[i] == '0')) digits += text[i];
        ++i;
        while (i < text.size() && text[i] == '_') ++i;
    }
    if (digits.size() > 10) return Outcome::outOfRange;
    value = digits.empty() ? 0 : std::stoll(digits);
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        return Outcome::outOfRange;
    }
    return i == text.size() ? Outcome::number : Outcome::invalid;
}

void checkParseInt(std::string_view text) {
    std::int64_t expected = 0;
    const Outcome outcome = referenceParse(text, expected);
    try {
        const std::int32_t got = app::parseInt(text);
        if (outcome != Outcome::number || got != expected) fail("parseInt accepted what it should not");
    } catch (const runtime::ValueError& error) {
        const std::string message = error.what();
        if (outcome == Outcome::number) fail("parseInt refused a number");
        if (outcome == Outcome::outOfRange && message != "Parsed integer outside of valid range") {
            fail("wrong range message");
        }
        // what() ends at a byte 0 that the text may hold.
        const std::string invalid = "invalid integer: " + std::string(text);
        if (outcome == Outcome::invalid && message != invalid.c_str()) {
            fail("wrong invalid message");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkParseInt(text);

    const std::vector<app::CfgEvent> reference = eventsOf(text, app::BaseLexer::initialBufferSize);
    // Tiny buffers refill and double at almost every byte.
    const std::vector<app::CfgEvent> small = eventsOf(text, 1 + size % 5);
    if (reference.size() != small.size()) fail("event count depends on the buffer size");
    for (std::size_t i = 0; i < reference.size(); ++i) {
        if (!sameEvent(reference[i], small[i])) fail("event depends on the buffer size");
    }

    const app::ConfigTable table = app::readConfigStream(std::make_unique<TextSource>(text), "fuzz.config");
    for (const auto& [section, pairs] : table) {
        for (const auto& [key, value] : pairs) {
            checkParseInt(value);
            if (app::configValue(table, section, key, "\x01") != value) fail("configValue lost a pair");
        }
    }
    return 0;
}
