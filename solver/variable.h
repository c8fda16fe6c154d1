#pragma once

#include <memory>
#include <string>

namespace solver {

// A value the solver places. Shared by reference; its identity (the object,
// not its name or value) is its key in every map of the solver.
struct Variable {
    std::string name;
    double value = 0.0;
};

using VariableRef = std::shared_ptr<Variable>;

// A new variable named ":anonymous" with the given value.
VariableRef makeVariable(double value);

}  // namespace solver
