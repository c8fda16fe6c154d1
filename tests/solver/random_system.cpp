#include "tests/solver/random_system.h"

#include <algorithm>
#include <cmath>

namespace solvertest {

using namespace solver;

double valueOf(const Expression& expression) {
    double value = expression.constant;
    for (const Term& term : expression.terms) value += term.coefficient * term.variable->value;
    return value;
}

double violation(double value, Relation relation) {
    switch (relation) {
        case relLessEqual:
            return std::max(0.0, value);
        case relGreaterEqual:
            return std::max(0.0, -value);
        case relEqual:
            break;
    }
    return std::abs(value);
}

double SoftConstraint::error() const {
    if (editVariable) return std::abs(editVariable->value - suggested);
    return violation(valueOf(constraint->expression()), constraint->relation());
}

RandomSystem::RandomSystem(std::uint64_t seed, int variableCount, int padding) : random_(seed) {
    Random paddingSizes(seed ^ 0x5A5A5A5Aull);
    for (int i = 0; i < variableCount; ++i) {
        for (int p = 0; p < padding; ++p)
            padding_.push_back(std::make_shared<std::vector<char>>(paddingSizes.between(1, 300)));
        variables_.push_back(makeVariable(random_.between(-100, 100)));
        hiddenPoint_.push_back(random_.between(-50, 50));
    }
}

ExpressionRef RandomSystem::randomExpression() {
    int termCount = random_.between(1, 3);
    ExpressionRef expression = nullptr;
    for (int i = 0; i < termCount; ++i) {
        int coefficient = random_.between(1, 3) * (random_.chance(50) ? 1 : -1);
        const VariableRef& variable = variables_[random_.between(0, static_cast<int>(variables_.size()) - 1)];
        ExpressionRef term = expressionOfTerm(makeTerm(variable, coefficient), 0.0);
        expression = expression ? addExpressions(expression, term) : term;
    }
    return expression;
}

void RandomSystem::addRequired() {
    ExpressionRef expression = randomExpression();
    double atPoint = 0.0;
    for (const Term& term : expression->terms) {
        auto at = std::find(variables_.begin(), variables_.end(), term.variable) - variables_.begin();
        atPoint += term.coefficient * hiddenPoint_[at];
    }
    auto relation = static_cast<Relation>(random_.between(0, 2));
    double margin = relation == relEqual ? 0.0 : random_.between(0, 20);
    // Place the constant so that the hidden point satisfies the constraint.
    double constant = -atPoint + (relation == relLessEqual ? -margin : margin);
    ConstraintRef constraint = makeConstraint(offsetExpression(expression, constant), relation);
    addConstraint(solver_, constraint);
    required_.push_back(constraint);
}

bool RandomSystem::addEdit(double strength) {
    std::vector<VariableRef> candidates;
    for (const VariableRef& variable : variables_)
        if (!isEditVariable(solver_, variable)) candidates.push_back(variable);
    if (candidates.empty()) return false;
    const VariableRef& chosen = candidates[random_.between(0, static_cast<int>(candidates.size()) - 1)];
    addEditVariable(solver_, chosen, strength);
    edits_.push_back(soft_.size());
    soft_.push_back(SoftConstraint{strength, nullptr, chosen, 0.0});
    return true;
}

bool RandomSystem::suggest() {
    if (edits_.empty()) return false;
    SoftConstraint& edit = soft_[edits_[random_.between(0, static_cast<int>(edits_.size()) - 1)]];
    edit.suggested = random_.between(-200, 200) + random_.between(0, 3) * 0.25;
    suggestValue(solver_, edit.editVariable, edit.suggested);
    return true;
}

void RandomSystem::addSoft(double strength) {
    ExpressionRef expression = offsetExpression(randomExpression(), random_.between(-100, 100));
    ConstraintRef constraint = makeConstraint(expression, static_cast<Relation>(random_.between(0, 2)), strength);
    addConstraint(solver_, constraint);
    soft_.push_back(SoftConstraint{constraint->strength(), constraint, nullptr, 0.0});
}

double RandomSystem::requiredViolation() const {
    double worst = 0.0;
    for (const ConstraintRef& constraint : required_)
        worst = std::max(worst, violation(valueOf(constraint->expression()), constraint->relation()));
    return worst;
}

double RandomSystem::softObjective(std::size_t count) const {
    double total = 0.0;
    for (std::size_t i = 0; i < count; ++i) total += soft_[i].strength * soft_[i].error();
    return total;
}

double RandomSystem::solverObjective() const { return detail::implOf(solver_).tableau().objective.constant(); }

}  // namespace solvertest
