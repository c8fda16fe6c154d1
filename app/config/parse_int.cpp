#include "app/config/parse_int.h"

#include <limits>
#include <string>

#include "runtime/errors.h"

namespace app {

namespace {

constexpr std::int64_t lowest64 = std::numeric_limits<std::int64_t>::min();

[[noreturn]] void outOfRange() { throw runtime::ValueError("Parsed integer outside of valid range"); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the longest number at the front of the text into value and returns
// how many characters it took (0 for none). Raises on 64-bit overflow.
std::size_t readNumber(std::string_view text, std::int64_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || !isDigit(text[i])) return 0;
    // Built as a negative number, so that the lowest 64-bit value, which has
    // no positive counterpart, can be reached.
    std::int64_t accumulated = 0;
    while (i < text.size() && isDigit(text[i])) {
        const int digit = text[i] - '0';
        // (lowest + digit) / 10 rounds towards zero, so passing this test
        // guarantees accumulated * 10 - digit >= lowest.
        if (accumulated < (lowest64 + digit) / 10) outOfRange();
        accumulated = accumulated * 10 - digit;
        ++i;
        while (i < text.size() && text[i] == '_') ++i;
    }
    if (!negative && accumulated == lowest64) outOfRange();
    value = negative ? accumulated : -accumulated;
    return i;
}

}  // namespace

std::int32_t parseInt(std::string_view text) {
    std::int64_t value = 0;
    const std::size_t consumed = readNumber(text, value);
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        outOfRange();
    }
    if (consumed == 0 || consumed != text.size()) throw runtime::ValueError("invalid integer: " + std::string(text));
    return static_cast<std::int32_t>(value);
}

}  // namespace app
