#include <stdio.h>

#include "runtime/c_file.h"
#include "runtime/long_path_win32.h"

namespace runtime {

CFile openFileForWriting(const std::string& path) { return CFile(_wfopen(systemPath(path).c_str(), L"wb")); }

}  // namespace runtime
