#include <sys/stat.h>

#include <cerrno>

#include "runtime/c_file.h"

namespace runtime {

CFile openFileForReading(const std::string& path) {
    CFile file(std::fopen(path.c_str(), "rb"));
    // fopen accepts a folder here, which Windows refuses: refuse it as well,
    // so that both builds report "cannot open" for the same paths.
    struct stat info {};
    if (file && ::fstat(::fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode)) {
        file.reset();
        errno = EISDIR;
    }
    return file;
}

CFile openFileForWriting(const std::string& path) { return CFile(std::fopen(path.c_str(), "wb")); }

}  // namespace runtime
