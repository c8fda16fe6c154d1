#pragma once
// The process's standard streams as a converter that reads and writes bytes
// needs them. standard_streams_posix.cpp and standard_streams_win32.cpp hold
// the two platforms' calls.

#include <cstddef>

namespace runtime {

// True when standard error is a terminal (a person watches it).
bool standardErrorIsTerminal();

// Reads up to count bytes of standard input, unchanged (no text-mode
// translation); fewer only at its end. Raises OSError.
std::size_t readStandardInput(void* destination, std::size_t count);

}  // namespace runtime
