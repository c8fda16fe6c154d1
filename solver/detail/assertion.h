#pragma once
// Broken internal invariants of the solver. Not a caller's mistake and not a
// ValueError: reaching one means the tableau itself is inconsistent.

#include <stdexcept>
#include <string>

namespace solver::detail {

class AssertionFailure : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Raises AssertionFailure with "Assertion failed in <where>: <what>".
[[noreturn]] inline void failAssertion(const char* where, const char* what) {
    throw AssertionFailure(std::string("Assertion failed in ") + where + ": " + what);
}

}  // namespace solver::detail
