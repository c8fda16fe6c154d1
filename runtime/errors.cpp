#include "runtime/errors.h"

#include <cstring>
#include <typeinfo>

#if defined(__GNUC__)
#include <cxxabi.h>

#include <memory>
#endif

namespace runtime {

namespace {

std::string osErrorMessage(std::uint32_t code, const std::string& systemText, const std::string& detail) {
    std::string message = systemText + " (error " + std::to_string(code) + ")";
    if (!detail.empty()) message += ": " + detail;
    return message;
}

}  // namespace

OSError::OSError(std::uint32_t code, const std::string& systemText, const std::string& detail)
    : Error(osErrorMessage(code, systemText, detail)), code_(code) {}

std::string errnoText(int errnoValue) {
    return "errno: " + std::to_string(errnoValue) + " `" + std::strerror(errnoValue) + "`";
}

IOError writeError(int errnoValue) { return IOError(errnoText(errnoValue)); }

std::string errorTypeName(const std::exception& error) {
    if (auto typed = dynamic_cast<const Error*>(&error)) return typed->typeName();
    const char* mangled = typeid(error).name();
#if defined(__GNUC__)
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                      &std::free);
    if (status == 0 && plain) return plain.get();
#endif
    return mangled;
}

std::string unhandledErrorText(const std::exception& error) {
    return std::string("Error: unhandled exception: ") + error.what() + " [" + errorTypeName(error) + "]";
}

}  // namespace runtime
