#pragma once
// Linear expressions: a sum of terms plus a constant. Every operation returns
// a new expression and leaves its arguments as they were, so expressions can
// be shared freely.

#include <memory>
#include <vector>

#include "solver/term.h"

namespace solver {

struct Expression {
    std::vector<Term> terms;
    double constant = 0.0;
};

using ExpressionRef = std::shared_ptr<const Expression>;

// term + constant. Never fails.
ExpressionRef expressionOfTerm(const Term& term, double constant);

// first + second, constant 0. Never fails.
ExpressionRef expressionOfTerms(const Term& first, const Term& second);

// a + b: the terms of a followed by those of b, constants added. Neither may
// be null. Never fails.
ExpressionRef addExpressions(const ExpressionRef& a, const ExpressionRef& b);

// k × expression: every coefficient and the constant multiplied by k. The
// expression must not be null. Never fails.
ExpressionRef scaleExpression(const ExpressionRef& expression, double k);

// expression + k. The expression must not be null. Never fails.
ExpressionRef offsetExpression(const ExpressionRef& expression, double k);

}  // namespace solver
