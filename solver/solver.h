#pragma once
// The incremental constraint solver: required constraints hold exactly, the
// others as well as their strengths allow; edit variables take suggested
// values. There is no way to take a constraint or an edit variable back.
//
// Every operation is deterministic: the same calls in the same order give the
// same values, bit for bit, on every run and in every build. Any of them
// raises detail::InternalSolverException (solver/detail/assertion.h) when it
// finds the solver in a state a consistent tableau never reaches.

#include <memory>

#include "solver/constraint.h"
#include "solver/errors.h"
#include "solver/expression.h"
#include "solver/strength.h"
#include "solver/term.h"
#include "solver/variable.h"

namespace solver {

class Solver;

namespace detail {
class SolverImpl;
// The implementation behind a solver, for tests and diagnostics.
const SolverImpl& implOf(const Solver& solver) noexcept;
}  // namespace detail

// One solver instance. Move-only; a moved-from solver may only be destroyed
// or assigned to.
class Solver {
public:
    Solver();
    ~Solver();
    Solver(Solver&&) noexcept;
    Solver& operator=(Solver&&) noexcept;
    Solver(const Solver&) = delete;
    Solver& operator=(const Solver&) = delete;

private:
    friend void addConstraint(Solver&, const ConstraintRef&);
    friend void addEditVariable(Solver&, const VariableRef&, double);
    friend bool isEditVariable(const Solver&, const VariableRef&);
    friend void suggestValue(Solver&, const VariableRef&, double);
    friend void refreshVariableValues(Solver&);
    friend const detail::SolverImpl& detail::implOf(const Solver&) noexcept;

    std::unique_ptr<detail::SolverImpl> impl_;
};

// An empty solver. Never fails.
Solver newSolver();

// Adds the constraint and re-optimises. The solver keeps a reference to it.
// Raises DuplicateConstraintException when this constraint object was added
// before, UnsatisfiableConstraintException when it is required and
// contradicts the required constraints already added, and ValueError when
// one of its numbers is not finite. After any of these the tableau is as it
// was before the call.
void addConstraint(Solver& solver, const ConstraintRef& constraint);

// Makes the variable an edit variable: a constraint variable = suggested
// value (0 at first) with the clipped strength. Raises
// DuplicateEditVariableException when it already is one, and
// RequiredFailureException when the clipped strength is requiredStrength;
// nothing changes then.
void addEditVariable(Solver& solver, const VariableRef& variable, double strength);

// Whether the variable is an edit variable of this solver. Never fails.
bool isEditVariable(const Solver& solver, const VariableRef& variable);

// Suggests a value for an edit variable and repairs the tableau. Raises
// UnknownEditVariableException when the variable is not an edit variable,
// and ValueError when the value is not finite; nothing changes then.
void suggestValue(Solver& solver, const VariableRef& variable, double value);

// Writes the solution into every variable the solver has met: the constant
// of its row, or 0 when it is not basic. Variables the solver never met keep
// their values. Never fails.
void refreshVariableValues(Solver& solver);

}  // namespace solver
