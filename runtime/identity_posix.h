#pragma once
// The identity stat reports for a file.

#include <sys/stat.h>

#include "runtime/fs.h"

namespace runtime {

inline FileIdentity identityOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace runtime
