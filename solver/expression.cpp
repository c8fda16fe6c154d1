#include "solver/expression.h"

#include <utility>

namespace solver {

namespace {

ExpressionRef share(Expression expression) { return std::make_shared<const Expression>(std::move(expression)); }

}  // namespace

ExpressionRef expressionOfTerm(const Term& term, double constant) { return share(Expression{{term}, constant}); }

ExpressionRef expressionOfTerms(const Term& first, const Term& second) {
    return share(Expression{{first, second}, 0.0});
}

ExpressionRef addExpressions(const ExpressionRef& a, const ExpressionRef& b) {
    Expression sum;
    sum.terms.reserve(a->terms.size() + b->terms.size());
    sum.terms.insert(sum.terms.end(), a->terms.begin(), a->terms.end());
    sum.terms.insert(sum.terms.end(), b->terms.begin(), b->terms.end());
    sum.constant = a->constant + b->constant;
    return share(std::move(sum));
}

ExpressionRef scaleExpression(const ExpressionRef& expression, double k) {
    Expression scaled;
    scaled.terms.reserve(expression->terms.size());
    for (const Term& term : expression->terms) scaled.terms.push_back(scaleTerm(term, k));
    scaled.constant = expression->constant * k;
    return share(std::move(scaled));
}

ExpressionRef offsetExpression(const ExpressionRef& expression, double k) {
    return share(Expression{expression->terms, expression->constant + k});
}

}  // namespace solver
