#include "solver/solver.h"

#include "solver/detail/solver_impl.h"

namespace solver {

Solver::Solver() : impl_(std::make_unique<detail::SolverImpl>()) {}
Solver::~Solver() = default;
Solver::Solver(Solver&&) noexcept = default;
Solver& Solver::operator=(Solver&&) noexcept = default;

Solver newSolver() { return Solver(); }

void addConstraint(Solver& solver, const ConstraintRef& constraint) { solver.impl_->addConstraint(constraint); }

void addEditVariable(Solver& solver, const VariableRef& variable, double strength) {
    solver.impl_->addEditVariable(variable, strength);
}

bool isEditVariable(const Solver& solver, const VariableRef& variable) {
    return solver.impl_->isEditVariable(variable.get());
}

void suggestValue(Solver& solver, const VariableRef& variable, double value) {
    solver.impl_->suggestValue(variable.get(), value);
}

void refreshVariableValues(Solver& solver) { solver.impl_->refreshVariableValues(); }

namespace detail {

const SolverImpl& implOf(const Solver& solver) noexcept { return *solver.impl_; }

}  // namespace detail

}  // namespace solver
