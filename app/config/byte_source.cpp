#include "app/config/byte_source.h"

#include "runtime/errors.h"

namespace app {

std::size_t IstreamSource::read(char* dest, std::size_t count) {
    stream_.read(dest, static_cast<std::streamsize>(count));
    if (stream_.bad()) throw runtime::IOError("cannot read configuration stream");
    return static_cast<std::size_t>(stream_.gcount());
}

std::size_t FileSource::read(char* dest, std::size_t count) {
    // fread only stops short at the end of the file or on an error.
    const std::size_t got = std::fread(dest, 1, count, file_.get());
    if (got < count && std::ferror(file_.get())) throw runtime::IOError("cannot read: " + path_);
    return got;
}

}  // namespace app
