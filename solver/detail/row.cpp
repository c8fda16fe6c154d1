#include "solver/detail/row.h"

#include <cstddef>
#include <utility>

namespace solver::detail {

namespace {

// Rows of up to this many cells are folded in cell by cell; larger ones are
// merged in one pass over both sorted cell lists.
constexpr std::size_t smallRowLimit = 4;

}  // namespace

double Row::coefficientFor(Symbol symbol) const noexcept {
    const double* coefficient = cells_.find(symbol);
    return coefficient ? *coefficient : 0.0;
}

void Row::insertSymbol(Symbol symbol, double coefficient) {
    if (double* existing = cells_.find(symbol)) {
        double sum = *existing + coefficient;
        if (nearZero(sum))
            cells_.erase(symbol);
        else
            *existing = sum;
    } else if (!nearZero(coefficient)) {
        cells_.assign(symbol, coefficient);
    }
}

void Row::insertRow(const Row& other, double coefficient) {
    constant_ += coefficient * other.constant_;
    const Cells::Entries& theirs = other.cells_.entries();
    if (theirs.size() <= smallRowLimit) {
        for (const auto& [symbol, value] : theirs) insertSymbol(symbol, coefficient * value);
        return;
    }
    // The same sums as insertSymbol, cell by cell, without a search per cell.
    Cells::Entries& mine = cells_.entries();
    Cells::Entries merged;
    merged.reserve(mine.size() + theirs.size());
    auto a = mine.begin();
    auto b = theirs.begin();
    while (a != mine.end() || b != theirs.end()) {
        if (b == theirs.end() || (a != mine.end() && serialOf(a->first) < serialOf(b->first))) {
            merged.push_back(*a++);
            continue;
        }
        double product = coefficient * b->second;
        if (a == mine.end() || serialOf(b->first) < serialOf(a->first)) {
            if (!nearZero(product)) merged.emplace_back(b->first, product);
        } else {
            double sum = a->second + product;
            if (!nearZero(sum)) merged.emplace_back(a->first, sum);
            ++a;
        }
        ++b;
    }
    mine.swap(merged);
}

void Row::negate() noexcept {
    constant_ = -constant_;
    for (auto& cell : cells_) cell.second = -cell.second;
}

void Row::solveFor(Symbol symbol) {
    double factor = -1.0 / coefficientFor(symbol);
    cells_.erase(symbol);
    constant_ *= factor;
    for (auto& cell : cells_) cell.second *= factor;
}

void Row::solveFor(Symbol lhs, Symbol rhs) {
    insertSymbol(lhs, -1.0);
    solveFor(rhs);
}

void Row::substitute(Symbol symbol, const Row& row) {
    const double* found = cells_.find(symbol);
    if (!found) return;
    double coefficient = *found;
    cells_.erase(symbol);
    insertRow(row, coefficient);
}

}  // namespace solver::detail
