#pragma once
// The lines the engine raises about an input it does not convert. The
// engine prints nothing: the programs print these lines, each with the
// input it is about.

#include <string>

#include "engine/errors.h"

namespace engine {

inline constexpr const char* sameFileLine = "You cannot set the same input and output file for safety reasons";
inline constexpr const char* noSuchInputLine = "There was an error with your input or output arguments.";
inline constexpr const char* emptyInputLine = "Input file is 0 bytes!";
inline constexpr const char* notAFileLine = "ERROR: Input is not a regular file";

// "ERROR: Could not read " + path + ": " + the system's reason.
std::string couldNotReadLine(const std::string& path, const runtime::OSError& error);

// The reason a runtime error gives a line: "errno: N `text`" for a failed
// system call, whatever the platform's own code.
std::string reasonOf(const runtime::Error& error);

// "ERROR: Could not create " + path + ": " + reason.
std::string couldNotCreateLine(const std::string& path, const std::string& reason);

}  // namespace engine
