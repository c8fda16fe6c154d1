#pragma once
// A row of the tableau: constant + sum of coefficient × symbol.

#include <memory>

#include "solver/detail/symbol.h"
#include "solver/detail/symbol_map.h"

namespace solver::detail {

// Magnitudes strictly below this count as zero where the algorithm says so.
inline constexpr double nearZeroLimit = 1e-8;

constexpr bool nearZero(double value) { return value < nearZeroLimit && value > -nearZeroLimit; }

// Stored under a basic symbol a row states: basic = constant + cells. As an
// objective it states the quantity to minimise. Only the two insert
// operations apply the near-zero rule; everything else is exact arithmetic.
class Row {
public:
    using Cells = SymbolMap<double>;

    explicit Row(double constant = 0.0) : constant_(constant) {}

    double constant() const noexcept { return constant_; }
    const Cells& cells() const noexcept { return cells_; }

    // The coefficient of the symbol, 0 when absent.
    double coefficientFor(Symbol symbol) const noexcept;

    // Adds coefficient to the symbol's; a near-zero sum removes the symbol.
    void insertSymbol(Symbol symbol, double coefficient);

    // Adds coefficient × other, constant and cells; a cell whose sum is near
    // zero is removed.
    void insertRow(const Row& other, double coefficient);

    void remove(Symbol symbol) noexcept { cells_.erase(symbol); }

    // Changes the sign of the constant and of every coefficient.
    void negate() noexcept;

    // Turns `0 = this` into `symbol = ...`: divides everything by minus the
    // symbol's coefficient and drops the symbol. The symbol must be present.
    void solveFor(Symbol symbol);

    // Turns `lhs = this` into `rhs = ...`. rhs must be present.
    void solveFor(Symbol lhs, Symbol rhs);

    // Replaces the symbol, if present, by the right-hand side of `row`.
    void substitute(Symbol symbol, const Row& row);

    // Adds to the constant and returns the new constant.
    double addConstant(double value) noexcept { return constant_ += value; }

private:
    double constant_;
    Cells cells_;
};

using RowRef = std::shared_ptr<Row>;

}  // namespace solver::detail
