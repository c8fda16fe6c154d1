#pragma once

#include <cstdint>
#include <string_view>

namespace app {

// The whole text as one decimal integer: an optional "+" or "-", at least one
// digit, and underscores after any digit ("1_000", "5_"). No blanks, no
// prefixes, no decimal point. Raises runtime::ValueError "Parsed integer
// outside of valid range" when the number leaves 64 bits while it is read or
// does not fit 32 bits, and "invalid integer: " followed by the text when the
// text is not one number.
std::int32_t parseInt(std::string_view text);

}  // namespace app
