#pragma once
// What an open folder is on Windows: the path it was opened by, for messages,
// and the "\\?\" path of the folder the system opened, to which the names
// found in it are joined: that reaches each of them whatever its name
// ("con.bin", a trailing dot) or the length of the whole path. Shared by the
// folder and the input file code.

#include <string>

#include "runtime/folder.h"

namespace runtime {

struct Folder::Native {
    std::string path;
    std::string exact;
    FileIdentity identity;
};

}  // namespace runtime
