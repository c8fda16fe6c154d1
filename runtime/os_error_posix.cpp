#include <cerrno>
#include <cstring>

#include "runtime/errors.h"

namespace runtime {

OSError osErrorFromCode(std::uint32_t code, const std::string& detail) {
    return OSError(code, std::strerror(static_cast<int>(code)), detail);
}

int errnoOf(std::uint32_t systemCode) { return static_cast<int>(systemCode); }

OSError lastOSError(const std::string& detail) { return osErrorFromCode(static_cast<std::uint32_t>(errno), detail); }

}  // namespace runtime
