#include <stdio.h>

#include "app/config/c_file.h"
#include "runtime/text.h"

namespace app {

CFile openFileForReading(const std::string& path) { return CFile(_wfopen(runtime::widen(path).c_str(), L"rb")); }

}  // namespace app
