#pragma once
// Constraints: an expression standing in a relation to zero, with a strength.

#include <cstdint>
#include <memory>
#include <utility>

#include "solver/expression.h"
#include "solver/strength.h"

namespace solver {

// expression <= 0, expression >= 0, expression = 0.
enum Relation : std::uint8_t { relLessEqual, relGreaterEqual, relEqual };

// Shared by reference and immutable; the object's identity is its key in a
// solver, so two equal constraints made separately are two constraints.
// Made only by makeConstraint, which guarantees the invariants: one term per
// variable and a strength within [0, requiredStrength].
class Constraint {
    // Only makeConstraint can make a key, and so a constraint.
    class Key {
        explicit Key() = default;
        friend std::shared_ptr<const Constraint> makeConstraint(const ExpressionRef&, Relation, double);
    };

public:
    Constraint(Key, ExpressionRef expression, Relation relation, double strength)
        : expression_(std::move(expression)), strength_(strength), relation_(relation) {}

    const Expression& expression() const noexcept { return *expression_; }
    double strength() const noexcept { return strength_; }
    Relation relation() const noexcept { return relation_; }
    bool isRequired() const noexcept { return strength_ == requiredStrength; }

private:
    friend std::shared_ptr<const Constraint> makeConstraint(const ExpressionRef&, Relation, double);

    ExpressionRef expression_;
    double strength_;
    Relation relation_;
};

using ConstraintRef = std::shared_ptr<const Constraint>;

// The expression with the coefficients of terms that share a variable (by
// identity) summed: one term per variable, in the order in which the
// variables first occur, and the same constant. A sum of zero stays as a term.
// Never fails.
ExpressionRef mergeTerms(const Expression& expression);

// A new constraint: `expression relation 0` after mergeTerms, with the
// strength clipped into [0, requiredStrength]. The expression must not be
// null. Never fails.
ConstraintRef makeConstraint(const ExpressionRef& expression, Relation relation, double strength = requiredStrength);

}  // namespace solver
