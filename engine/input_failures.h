#pragma once
// The lines the engine prints about an input it does not convert, printed
// and raised in one step so that no such line is ever followed by success.

#include <string>

#include "engine/errors.h"

namespace engine {

inline constexpr const char* sameFileLine = "You cannot set the same input and output file for safety reasons";

// Prints the error's line as the engine prints its lines.
void printInputErrorLine(const InputError& error);

// Prints the line, then raises RefusalError with it.
[[noreturn]] void refuse(const std::string& line);

// Prints the line, then raises ConversionError with it.
[[noreturn]] void fail(const std::string& line);

// "ERROR: Could not read " + path + ": " + the system's reason.
std::string couldNotReadLine(const std::string& path, const runtime::OSError& error);

// Runs body; the line of an input it does not convert (the InputError's
// message) is printed before the error goes on.
template <class Body>
void printingFailures(Body body) {
    try {
        body();
    } catch (const InputError& error) {
        printInputErrorLine(error);
        throw;
    }
}

}  // namespace engine
