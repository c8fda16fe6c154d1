#pragma once
// Helpers shared by the solver's tests.

#include <cstdint>
#include <string>

#include "solver/detail/solver_impl.h"
#include "solver/detail/tableau.h"
#include "solver/solver.h"

namespace solvertest {

// The solver's whole tableau as text, equal exactly when bit for bit equal.
inline std::string tableauText(const solver::Solver& s) {
    return solver::detail::describeTableau(solver::detail::implOf(s).tableau());
}

// variable × coefficient + constant, the usual shape of a test constraint.
inline solver::ExpressionRef linear(const solver::VariableRef& variable, double coefficient, double constant) {
    return solver::expressionOfTerm(solver::makeTerm(variable, coefficient), constant);
}

// a - b + constant
inline solver::ExpressionRef difference(const solver::VariableRef& a, const solver::VariableRef& b,
                                        double constant = 0.0) {
    return solver::offsetExpression(solver::expressionOfTerms(solver::makeTerm(a, 1.0), solver::makeTerm(b, -1.0)),
                                    constant);
}

// A small deterministic generator (splitmix64), the same in every build,
// unlike the standard distributions.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // An integer in [low, high].
    int between(int low, int high) {
        return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1));
    }
    bool chance(int percent) { return between(1, 100) <= percent; }

private:
    std::uint64_t state_;
};

}  // namespace solvertest
