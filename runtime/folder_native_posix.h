#pragma once
// What an open folder is on POSIX: a descriptor that names inside it are
// opened relative to. Shared by the folder and the input file code.

#include <string>

#include "runtime/descriptor_posix.h"
#include "runtime/folder.h"

namespace runtime {

struct Folder::Native {
    Descriptor descriptor;
    std::string path;
    FileIdentity identity;
};

}  // namespace runtime
