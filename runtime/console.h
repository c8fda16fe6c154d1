#pragma once
// Whole-line console output. Every line is written and flushed under one
// process-wide lock, so lines from the engine's threads never interleave,
// and a progress line on standard error is blanked out before any line.

#include <string_view>

namespace runtime {

// Writes the line and a line break to standard output (or standard error,
// see printLinesToStandardError), flushed at once.
void printLine(std::string_view line);

// Writes the line and a line break to standard error, flushed at once.
void printErrorLine(std::string_view line);

// From now on printLine writes to standard error: for a process whose
// standard output carries data.
void printLinesToStandardError();

// Shows text as the one updating line at the bottom of standard error,
// replacing the one shown before. Meant for a terminal.
void showProgress(std::string_view text);

// Blanks out the progress line, if one is shown.
void clearProgress();

}  // namespace runtime
