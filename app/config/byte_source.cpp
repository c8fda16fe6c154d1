#include "app/config/byte_source.h"

#include "runtime/errors.h"

namespace app {

std::size_t IstreamSource::read(char* dest, std::size_t count) {
    stream_.read(dest, static_cast<std::streamsize>(count));
    if (stream_.bad()) throw runtime::IOError("cannot read configuration stream");
    return static_cast<std::size_t>(stream_.gcount());
}

}  // namespace app
