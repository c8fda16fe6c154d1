#pragma once
// What an open folder is on POSIX: a descriptor that names inside it are
// opened relative to. Shared by the folder and the input file code.

#include <unistd.h>

#include <string>

#include "runtime/folder.h"

namespace runtime {

struct Folder::Native {
    int descriptor = -1;
    std::string path;
    FileIdentity identity;

    Native() = default;
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;
    ~Native() {
        if (descriptor >= 0) ::close(descriptor);
    }
};

}  // namespace runtime
