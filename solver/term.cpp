#include "solver/term.h"

#include <utility>

namespace solver {

Term makeTerm(VariableRef variable, double coefficient) { return Term{std::move(variable), coefficient}; }

Term scaleTerm(const Term& term, double k) { return Term{term.variable, term.coefficient * k}; }

}  // namespace solver
