#include "solver/detail/tableau.h"

#include <cstdio>
#include <limits>
#include <memory>

#include "solver/detail/assertion.h"

namespace solver::detail {

Tableau Tableau::deepCopy() const {
    Tableau copy;
    copy.rows.entries().reserve(rows.size());
    for (const auto& [basic, row] : rows) copy.rows.entries().emplace_back(basic, std::make_shared<Row>(*row));
    copy.objective = objective;
    copy.artificialObjective = artificialObjective;
    copy.infeasible = infeasible;
    return copy;
}

void substituteEverywhere(Tableau& tableau, Symbol symbol, const Row& row) {
    for (auto& [basic, other] : tableau.rows) {
        other->substitute(symbol, row);
        if (isRestricted(basic) && other->constant() < 0.0) tableau.infeasible.push_back(basic);
    }
    tableau.objective.substitute(symbol, row);
    if (tableau.artificialObjective) tableau.artificialObjective->substitute(symbol, row);
}

void pivot(Tableau& tableau, Symbol leaving, Symbol entering) {
    RowRef row = tableau.rows.take(leaving);
    row->solveFor(leaving, entering);
    substituteEverywhere(tableau, entering, *row);
    tableau.rows.assign(entering, std::move(row));
}

Symbol pickEnteringSymbol(const Row& objective) {
    for (const auto& [symbol, coefficient] : objective.cells())
        if (kindOf(symbol) != symDummy && coefficient < 0.0) return symbol;
    return noSymbol;
}

Symbol pickLeavingRow(const Tableau& tableau, Symbol entering) {
    double best = std::numeric_limits<double>::infinity();
    Symbol leaving = noSymbol;
    for (const auto& [basic, row] : tableau.rows) {
        if (!isRestricted(basic)) continue;  // an unrestricted basic never bounds anything
        double coefficient = row->coefficientFor(entering);
        if (!(coefficient < 0.0)) continue;
        double ratio = -row->constant() / coefficient;
        if (ratio < best) {
            best = ratio;
            leaving = basic;
        }
    }
    return leaving;
}

Symbol pickDualEnteringSymbol(const Tableau& tableau, const Row& row) {
    double best = std::numeric_limits<double>::infinity();
    Symbol entering = noSymbol;
    for (const auto& [symbol, coefficient] : row.cells()) {
        if (kindOf(symbol) == symDummy || !(coefficient > 0.0)) continue;
        double ratio = tableau.objective.coefficientFor(symbol) / coefficient;
        if (ratio < best) {
            best = ratio;
            entering = symbol;
        }
    }
    return entering;
}

void runPrimalSimplex(Tableau& tableau, Row& objective) {
    for (;;) {
        Symbol entering = pickEnteringSymbol(objective);
        if (entering == noSymbol) return;
        Symbol leaving = pickLeavingRow(tableau, entering);
        // Every objective is a weighted sum of restricted symbols and so is
        // bounded below by zero: a consistent tableau always has a leaving row.
        if (leaving == noSymbol) failAssertion("runPrimalSimplex", "The objective is unbounded.");
        pivot(tableau, leaving, entering);
    }
}

void runDualSimplex(Tableau& tableau) {
    while (!tableau.infeasible.empty()) {
        Symbol basic = tableau.infeasible.back();
        tableau.infeasible.pop_back();
        const RowRef* row = tableau.rows.find(basic);
        // The stack may hold symbols that have left the basis or rows that a
        // later pivot repaired.
        if (!row || !((*row)->constant() < 0.0)) continue;
        Symbol entering = pickDualEnteringSymbol(tableau, **row);
        if (entering == noSymbol) {
            // A row below zero by rounding alone has nothing to repair: the
            // row of a redundant required equality holds only dummies and a
            // constant that passed the near-zero test, maybe negative. Any
            // other row that nothing can repair means the tableau is
            // inconsistent: an edit's error symbols can always absorb a
            // suggestion, and skipping the row would leave a restricted
            // symbol negative.
            if (!nearZero((*row)->constant())) failAssertion("runDualSimplex", "The row cannot be repaired.");
            continue;
        }
        pivot(tableau, basic, entering);
    }
}

namespace {

void appendNumber(std::string& text, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%a", value);
    text += buffer;
}

void appendRow(std::string& text, const Row& row) {
    appendNumber(text, row.constant());
    for (const auto& [symbol, coefficient] : row.cells()) {
        text += ' ';
        text += std::to_string(kindOf(symbol));
        text += ':';
        text += std::to_string(serialOf(symbol));
        text += '=';
        appendNumber(text, coefficient);
    }
    text += '\n';
}

}  // namespace

std::string describeTableau(const Tableau& tableau) {
    std::string text = "objective ";
    appendRow(text, tableau.objective);
    if (tableau.artificialObjective) {
        text += "artificial ";
        appendRow(text, *tableau.artificialObjective);
    }
    for (const auto& [basic, row] : tableau.rows) {
        text += "row " + std::to_string(kindOf(basic)) + ':' + std::to_string(serialOf(basic)) + ' ';
        appendRow(text, *row);
    }
    text += "infeasible";
    for (Symbol symbol : tableau.infeasible) text += ' ' + std::to_string(symbol);
    text += '\n';
    return text;
}

}  // namespace solver::detail
