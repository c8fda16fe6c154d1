#include "engine/input_failures.h"

#include "runtime/console.h"

namespace engine {

void refuse(const std::string& line) {
    runtime::printLine(line);
    throw RefusalError(line);
}

void fail(const std::string& line) {
    runtime::printLine(line);
    throw ConversionError(line);
}

void printInputErrorLine(const InputError& error) { runtime::printLine(error.what()); }

std::string couldNotReadLine(const std::string& path, const runtime::OSError& error) {
    // The error's own text names the path too; the line names it once.
    return "ERROR: Could not read " + path + ": " + runtime::osErrorFromCode(error.code()).what();
}

}  // namespace engine
