#pragma once
// Terms: one variable times a coefficient, the smallest piece of an expression.

#include "solver/variable.h"

namespace solver {

// coefficient × variable. A plain value; the variable is shared.
struct Term {
    VariableRef variable;
    double coefficient = 1.0;
};

// The term coefficient × variable. The variable must not be null. Never fails.
Term makeTerm(VariableRef variable, double coefficient);

// The same variable with its coefficient multiplied by k. Never fails.
Term scaleTerm(const Term& term, double k);

}  // namespace solver
