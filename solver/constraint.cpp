#include "solver/constraint.h"

#include <cstddef>
#include <unordered_map>
#include <utility>

namespace solver {

namespace {

// Below this many terms a linear search beats building a hash index.
constexpr std::size_t linearSearchLimit = 16;

// Where the variable's term sits in `terms`, or terms.size() when absent.
std::size_t findTerm(const std::vector<Term>& terms, const Variable* variable) {
    for (std::size_t i = 0; i < terms.size(); ++i)
        if (terms[i].variable.get() == variable) return i;
    return terms.size();
}

}  // namespace

ExpressionRef mergeTerms(const Expression& expression) {
    Expression merged;
    merged.constant = expression.constant;
    merged.terms.reserve(expression.terms.size());
    if (expression.terms.size() <= linearSearchLimit) {
        for (const Term& term : expression.terms) {
            std::size_t at = findTerm(merged.terms, term.variable.get());
            if (at == merged.terms.size())
                merged.terms.push_back(term);
            else
                merged.terms[at].coefficient += term.coefficient;
        }
    } else {
        // The index only finds terms; the order stays that of first occurrence,
        // never that of the pointers' hashes.
        std::unordered_map<const Variable*, std::size_t> position;
        for (const Term& term : expression.terms) {
            auto [it, added] = position.emplace(term.variable.get(), merged.terms.size());
            if (added)
                merged.terms.push_back(term);
            else
                merged.terms[it->second].coefficient += term.coefficient;
        }
    }
    return std::make_shared<const Expression>(std::move(merged));
}

ConstraintRef makeConstraint(const ExpressionRef& expression, Relation relation, double strength) {
    return std::make_shared<const Constraint>(Constraint::Key{}, mergeTerms(*expression), relation,
                                              clipStrength(strength));
}

}  // namespace solver
