#include "solver/variable.h"

namespace solver {

VariableRef makeVariable(double value) { return std::make_shared<Variable>(Variable{":anonymous", value}); }

}  // namespace solver
