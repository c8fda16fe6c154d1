#pragma once
// Broken internal invariants of the solver. Not a caller's mistake and not a
// ValueError: reaching one means the tableau itself is inconsistent, so the
// solver says so instead of going on with a state it cannot be in.

#include <stdexcept>
#include <string>

namespace solver::detail {

class InternalSolverException : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Raises InternalSolverException with "Assertion failed in <where>: <what>".
[[noreturn]] inline void failAssertion(const char* where, const char* what) {
    throw InternalSolverException(std::string("Assertion failed in ") + where + ": " + what);
}

}  // namespace solver::detail
