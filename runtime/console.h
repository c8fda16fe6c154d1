#pragma once
// Whole-line console output. Every line is written and flushed under one
// process-wide lock, so lines from the engine's threads never interleave.

#include <string_view>

namespace runtime {

// Writes the line and a line break to standard output, flushed at once.
void printLine(std::string_view line);

// Writes the line and a line break to standard error, flushed at once.
void printErrorLine(std::string_view line);

}  // namespace runtime
