#pragma once
// The solver's state and the operations behind the public functions.

#include <cstdint>
#include <utility>

#include "solver/constraint.h"
#include "solver/detail/identity_map.h"
#include "solver/detail/row.h"
#include "solver/detail/symbol.h"
#include "solver/detail/tableau.h"
#include "solver/variable.h"

namespace solver::detail {

// The symbols that stand for a constraint in the tableau; secondary is
// noSymbol when there is none.
struct ConstraintMarkers {
    Symbol primary = noSymbol;
    Symbol secondary = noSymbol;
};

struct EditEntry {
    ConstraintMarkers markers;
    ConstraintRef constraint;
    double suggested = 0.0;
};

class SolverImpl {
public:
    void addConstraint(const ConstraintRef& constraint);
    void addEditVariable(const VariableRef& variable, double strength);
    bool isEditVariable(const Variable* variable) const noexcept { return edits_.find(variable) != nullptr; }
    void suggestValue(const Variable* variable, double value);
    void refreshVariableValues() noexcept;

    const Tableau& tableau() const noexcept { return tableau_; }
    std::uint32_t symbolCounter() const noexcept { return symbolCounter_; }
    // The symbol of a variable, or noSymbol when the solver has never met it.
    Symbol symbolOf(const Variable* variable) const noexcept;
    // The markers of an added constraint, or null.
    const ConstraintMarkers* markersOf(const Constraint* constraint) const noexcept {
        return constraints_.find(constraint);
    }

private:
    Symbol newSymbol(SymbolKind kind);
    Symbol symbolForVariable(const VariableRef& variable);
    std::pair<RowRef, ConstraintMarkers> buildRow(const Constraint& constraint);
    bool addViaArtificial(const Row& row);

    IdentityMap<const Constraint, ConstraintMarkers> constraints_;
    Tableau tableau_;
    IdentityMap<Variable, Symbol> variableSymbols_;
    IdentityMap<Variable, EditEntry> edits_;
    std::uint32_t symbolCounter_ = 0;
};

// The first external symbol of the row; else the primary, then the
// secondary marker if it is a slack or error symbol with a negative
// coefficient; else noSymbol.
Symbol pickSubject(const Row& row, const ConstraintMarkers& markers);

// Whether every cell of the row is a dummy (also when it has none).
bool onlyDummies(const Row& row);

// The first slack or error symbol of the row, or noSymbol.
Symbol firstPivotableSymbol(const Row& row);

}  // namespace solver::detail
