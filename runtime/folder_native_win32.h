#pragma once
// What an open folder is on Windows: its absolute path, which the calls for
// names inside it take in the long form. Shared by the folder and the input
// file code.

#include <string>

#include "runtime/folder.h"

namespace runtime {

struct Folder::Native {
    std::string path;
    FileIdentity identity;
};

}  // namespace runtime
