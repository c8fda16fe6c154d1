#include "solver/detail/solver_impl.h"

#include <cmath>
#include <memory>

#include "runtime/errors.h"
#include "solver/detail/assertion.h"
#include "solver/errors.h"

namespace solver::detail {

namespace {

// A NaN or an infinity would spread through every row it touches and stay
// there for the life of the solver, so none gets in.
void requireFinite(const Constraint& constraint) {
    const Expression& expression = constraint.expression();
    bool finite = std::isfinite(expression.constant);
    for (const Term& term : expression.terms) finite = finite && std::isfinite(term.coefficient);
    if (!finite) throw runtime::ValueError("constraint with a number that is not finite");
}

}  // namespace

Symbol pickSubject(const Row& row, const ConstraintMarkers& markers) {
    for (const auto& cell : row.cells())
        if (kindOf(cell.first) == symExternal) return cell.first;
    // A marker with a negative coefficient can be made basic with a
    // non-negative value, since the row's constant is never negative.
    if (isPivotable(markers.primary) && row.coefficientFor(markers.primary) < 0.0) return markers.primary;
    if (markers.secondary != noSymbol && isPivotable(markers.secondary) && row.coefficientFor(markers.secondary) < 0.0)
        return markers.secondary;
    return noSymbol;
}

bool onlyDummies(const Row& row) {
    for (const auto& cell : row.cells())
        if (kindOf(cell.first) != symDummy) return false;
    return true;
}

Symbol firstPivotableSymbol(const Row& row) {
    for (const auto& cell : row.cells())
        if (isPivotable(cell.first)) return cell.first;
    return noSymbol;
}

Symbol SolverImpl::newSymbol(SymbolKind kind) {
    // Past 2^30 - 1 the serials would wrap onto symbols still in use. A
    // window's layout makes a few dozen symbols, so this is never reached.
    if (symbolCounter_ >= largestSerial) failAssertion("newSymbol", "the solver has used up its symbols");
    ++symbolCounter_;
    return makeSymbol(kind, symbolCounter_);
}

Symbol SolverImpl::symbolForVariable(const VariableRef& variable) {
    if (const Symbol* known = variableSymbols_.find(variable.get())) return *known;
    Symbol symbol = newSymbol(symExternal);
    variableSymbols_.insert(variable, symbol);
    return symbol;
}

Symbol SolverImpl::symbolOf(const Variable* variable) const noexcept {
    const Symbol* symbol = variableSymbols_.find(variable);
    return symbol ? *symbol : noSymbol;
}

std::pair<RowRef, ConstraintMarkers> SolverImpl::buildRow(const Constraint& constraint) {
    const Expression& expression = constraint.expression();
    auto row = std::make_shared<Row>(expression.constant);
    // Basic variables are replaced by their rows, so the new row speaks only
    // of parametric symbols.
    for (const Term& term : expression.terms) {
        if (nearZero(term.coefficient)) continue;
        Symbol symbol = symbolForVariable(term.variable);
        if (const RowRef* basic = tableau_.rows.find(symbol))
            row->insertRow(**basic, term.coefficient);
        else
            row->insertSymbol(symbol, term.coefficient);
    }

    ConstraintMarkers markers;
    double strength = constraint.strength();
    bool required = constraint.isRequired();
    switch (constraint.relation()) {
        case relLessEqual:
        case relGreaterEqual: {
            double sign = constraint.relation() == relLessEqual ? 1.0 : -1.0;
            markers.primary = newSymbol(symSlack);
            if (!required) markers.secondary = newSymbol(symError);
            row->insertSymbol(markers.primary, sign);
            if (!required) {
                row->insertSymbol(markers.secondary, -sign);
                tableau_.objective.insertSymbol(markers.secondary, strength);
            }
            break;
        }
        case relEqual:
            if (required) {
                markers.primary = newSymbol(symDummy);
                row->insertSymbol(markers.primary, 1.0);
            } else {
                markers.primary = newSymbol(symError);    // plus
                markers.secondary = newSymbol(symError);  // minus
                row->insertSymbol(markers.primary, -1.0);
                row->insertSymbol(markers.secondary, 1.0);
                tableau_.objective.insertSymbol(markers.primary, strength);
                tableau_.objective.insertSymbol(markers.secondary, strength);
            }
            break;
    }

    // Every restricted basic symbol must have a non-negative value.
    if (row->constant() < 0.0) row->negate();
    return {std::move(row), markers};
}

bool SolverImpl::addViaArtificial(const Row& row) {
    // Phase one pivots the tableau before it knows whether the row can be
    // satisfied; on failure the guard puts everything back as it was.
    TableauGuard guard(tableau_);
    Symbol artificial = newSymbol(symSlack);
    tableau_.rows.assign(artificial, std::make_shared<Row>(row));
    tableau_.artificialObjective.emplace(row);

    runPrimalSimplex(tableau_, *tableau_.artificialObjective);
    bool success = nearZero(tableau_.artificialObjective->constant());
    tableau_.artificialObjective.reset();
    if (!success) return false;

    if (tableau_.rows.contains(artificial)) {
        RowRef artificialRow = tableau_.rows.take(artificial);
        if (artificialRow->cells().empty()) {
            guard.commit();
            return true;
        }
        Symbol entering = firstPivotableSymbol(*artificialRow);
        if (entering == noSymbol) return false;
        artificialRow->solveFor(artificial, entering);
        substituteEverywhere(tableau_, entering, *artificialRow);
        tableau_.rows.assign(entering, std::move(artificialRow));
    }

    // The artificial variable is zero now; dropping it leaves the row's own
    // symbols to carry the constraint.
    for (auto& entry : tableau_.rows) entry.second->remove(artificial);
    tableau_.objective.remove(artificial);
    guard.commit();
    return true;
}

void SolverImpl::addConstraint(const ConstraintRef& constraint) {
    if (constraints_.find(constraint.get())) throw DuplicateConstraintException();
    requireFinite(*constraint);

    auto [row, markers] = buildRow(*constraint);
    Symbol subject = pickSubject(*row, markers);
    if (subject == noSymbol && onlyDummies(*row)) {
        // Only required equalities are left in the row: it either repeats
        // them (redundant) or contradicts them.
        if (!nearZero(row->constant())) throw UnsatisfiableConstraintException();
        subject = markers.primary;
    }

    if (subject == noSymbol) {
        if (!addViaArtificial(*row)) throw UnsatisfiableConstraintException();
    } else {
        row->solveFor(subject);
        substituteEverywhere(tableau_, subject, *row);
        tableau_.rows.assign(subject, std::move(row));
    }
    constraints_.insert(constraint, markers);
    runPrimalSimplex(tableau_, tableau_.objective);
}

void SolverImpl::addEditVariable(const VariableRef& variable, double strength) {
    if (edits_.find(variable.get())) throw DuplicateEditVariableException();
    double clipped = clipStrength(strength);
    if (clipped == requiredStrength) throw RequiredFailureException();

    ConstraintRef constraint = makeConstraint(expressionOfTerm(makeTerm(variable, 1.0), 0.0), relEqual, clipped);
    addConstraint(constraint);
    edits_.insert(variable, EditEntry{*constraints_.find(constraint.get()), constraint, 0.0});
}

void SolverImpl::suggestValue(const Variable* variable, double value) {
    EditEntry* edit = edits_.find(variable);
    if (!edit) throw UnknownEditVariableException();
    if (!std::isfinite(value)) throw runtime::ValueError("suggested value that is not finite");

    double delta = value - edit->suggested;
    edit->suggested = value;
    const ConstraintMarkers& markers = edit->markers;
    // The edit row reads variable - suggested = plus - minus. Whichever error
    // symbol is basic absorbs the change; otherwise every row that holds the
    // plus symbol moves with it.
    if (RowRef* row = tableau_.rows.find(markers.primary)) {
        if ((*row)->addConstant(-delta) < 0.0) tableau_.infeasible.push_back(markers.primary);
    } else if (RowRef* minusRow = tableau_.rows.find(markers.secondary)) {
        if ((*minusRow)->addConstant(delta) < 0.0) tableau_.infeasible.push_back(markers.secondary);
    } else {
        for (auto& [basic, other] : tableau_.rows) {
            double coefficient = other->coefficientFor(markers.primary);
            if (coefficient == 0.0) continue;
            if (other->addConstant(delta * coefficient) < 0.0 && isRestricted(basic))
                tableau_.infeasible.push_back(basic);
        }
    }
    runDualSimplex(tableau_);
}

void SolverImpl::refreshVariableValues() noexcept {
    for (auto& entry : variableSymbols_) {
        const RowRef* row = tableau_.rows.find(entry.value);
        entry.key->value = row ? (*row)->constant() : 0.0;
    }
}

}  // namespace solver::detail
