#pragma once
// The lines the engine prints about an input it does not convert, printed
// and raised in one step so that no such line is ever followed by success.

#include <string>

#include "engine/errors.h"

namespace engine {

inline constexpr const char* sameFileLine = "You cannot set the same input and output file for safety reasons";

// Prints the line, then raises RefusalError with it.
[[noreturn]] void refuse(const std::string& line);

// Prints the line, then raises ConversionError with it.
[[noreturn]] void fail(const std::string& line);

// "ERROR: Could not read " + path + ": " + the system's reason.
std::string couldNotReadLine(const std::string& path, const runtime::OSError& error);

}  // namespace engine
