#include "engine/input_failures.h"

namespace engine {

std::string couldNotReadLine(const std::string& path, const runtime::OSError& error) {
    // The error's own text names the path too; the line names it once.
    return "ERROR: Could not read " + path + ": " + runtime::osErrorFromCode(error.code()).what();
}

std::string reasonOf(const runtime::Error& error) {
    if (const auto* system = dynamic_cast<const runtime::OSError*>(&error)) {
        return runtime::errnoText(runtime::errnoOf(system->code()));
    }
    if (dynamic_cast<const runtime::DanglingLinkError*>(&error)) return "not writing through a dangling link";
    return error.what();
}

std::string couldNotCreateLine(const std::string& path, const std::string& reason) {
    return "ERROR: Could not create " + path + ": " + reason;
}

}  // namespace engine
