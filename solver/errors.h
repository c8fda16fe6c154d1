#pragma once
// The solver's errors: one type per failure, each a ValueError with an empty
// message, so that an unhandled one is reported by its type name alone.

#include "runtime/errors.h"

namespace solver {

// addConstraint: this very constraint object was added before.
class DuplicateConstraintException : public runtime::ValueError {
public:
    DuplicateConstraintException() : ValueError("") {}
    const char* typeName() const noexcept override { return "DuplicateConstraintException"; }
};

// addConstraint: a required constraint contradicts the required ones added.
class UnsatisfiableConstraintException : public runtime::ValueError {
public:
    UnsatisfiableConstraintException() : ValueError("") {}
    const char* typeName() const noexcept override { return "UnsatisfiableConstraintException"; }
};

// addEditVariable: the variable already is an edit variable.
class DuplicateEditVariableException : public runtime::ValueError {
public:
    DuplicateEditVariableException() : ValueError("") {}
    const char* typeName() const noexcept override { return "DuplicateEditVariableException"; }
};

// addEditVariable: an edit variable cannot be required.
class RequiredFailureException : public runtime::ValueError {
public:
    RequiredFailureException() : ValueError("") {}
    const char* typeName() const noexcept override { return "RequiredFailureException"; }
};

// suggestValue: the variable is not an edit variable.
class UnknownEditVariableException : public runtime::ValueError {
public:
    UnknownEditVariableException() : ValueError("") {}
    const char* typeName() const noexcept override { return "UnknownEditVariableException"; }
};

}  // namespace solver
