#include "runtime/c_file.h"

namespace runtime {

CFile openFileForWriting(const std::string& path) { return CFile(std::fopen(path.c_str(), "wb")); }

}  // namespace runtime
