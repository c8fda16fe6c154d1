#pragma once

#include "runtime/errors.h"

namespace engine {

// An input that was not converted. The message is the line the engine
// printed about it; the caller shows it and goes on with its next input.
class InputError : public runtime::Error {
public:
    using Error::Error;
};

// An input refused before anything is converted (the same file as input
// and output, a path that names nothing, an empty file, a folder that would
// be converted into itself).
class RefusalError : public InputError {
public:
    using InputError::InputError;
    const char* typeName() const noexcept override { return "RefusalError"; }
};

// A conversion that failed: the output could not be created or written,
// the memory could not be had, the input was too large, could not be read
// or changed meanwhile, or files of a folder were not converted. Whatever
// the output held before is left as it was.
class ConversionError : public InputError {
public:
    using InputError::InputError;
    const char* typeName() const noexcept override { return "ConversionError"; }
};

// Raised inside the engine, and turned into its line by the one that moves
// the bytes (see movingBytes): a buffer could not be had, or the input read
// short, having become shorter since it was opened.
struct OutOfMemory {};
struct InputShrank {};

}  // namespace engine
