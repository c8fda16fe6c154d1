#pragma once
// Random constraint systems for property tests: required constraints that a
// hidden point satisfies (so none is ever rejected), edit variables with
// suggestions, and weaker constraints of any kind.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "solver/solver.h"
#include "tests/solver/solver_test_support.h"

namespace solvertest {

// A constraint that is not required, with what it takes to measure its error
// from the variables' values.
struct SoftConstraint {
    double strength = 0.0;
    solver::ConstraintRef constraint;  // null for an edit
    solver::VariableRef editVariable;  // null unless an edit
    double suggested = 0.0;

    // How far the current values are from satisfying it.
    double error() const;
};

class RandomSystem {
public:
    // variableCount variables; padding > 0 makes that many allocations between
    // variables, so that their addresses fall in another order.
    RandomSystem(std::uint64_t seed, int variableCount, int padding = 0);

    // A required constraint that the hidden point satisfies, added.
    void addRequired();
    // Makes a random variable that is not one yet an edit variable; false
    // when every variable already is one.
    bool addEdit(double strength);
    // Suggests a random value for a random edit variable; false without any.
    bool suggest();
    // A random constraint of the given (non-required) strength, added.
    void addSoft(double strength);

    // The largest amount by which the values break a required constraint.
    double requiredViolation() const;
    // The strength-weighted error of the first `count` soft constraints.
    double softObjective(std::size_t count) const;
    double softObjective() const { return softObjective(soft_.size()); }
    // The objective the solver itself holds: its objective row's constant.
    double solverObjective() const;

    solver::Solver& solver() { return solver_; }
    Random& random() { return random_; }
    const std::vector<solver::VariableRef>& variables() const { return variables_; }
    const std::vector<SoftConstraint>& soft() const { return soft_; }
    std::size_t requiredCount() const { return required_.size(); }

private:
    solver::ExpressionRef randomExpression();

    Random random_;
    solver::Solver solver_ = solver::newSolver();
    std::vector<solver::VariableRef> variables_;
    std::vector<double> hiddenPoint_;
    std::vector<solver::ConstraintRef> required_;
    std::vector<SoftConstraint> soft_;
    std::vector<std::size_t> edits_;  // indices into soft_
    std::vector<std::shared_ptr<std::vector<char>>> padding_;
};

// The value of the expression at the variables' current values.
double valueOf(const solver::Expression& expression);

// How far a value of an expression is from standing in the relation to 0.
double violation(double value, solver::Relation relation);

}  // namespace solvertest
