#pragma once

#include <string>

namespace runtime {

// A name for a temporary file beside path, unlikely to be taken: the file's
// own name, a dot, six letters and digits that differ from call to call
// and process to process, and ".tmp". Creation must still be exclusive.
std::string temporaryNameBeside(const std::string& path);

}  // namespace runtime
