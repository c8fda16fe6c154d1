#include "engine/output_file.h"

#include <algorithm>
#include <cerrno>

#include "runtime/errors.h"
#include "runtime/fs.h"

namespace engine {

OutputFile::OutputFile(const std::string& path) : file_(runtime::openFileForWriting(path)) {
    // Everything arrives in large pieces; a stream buffer would only split
    // them and copy their edges once more.
    if (file_) std::setvbuf(file_, nullptr, _IONBF, 0);
}

OutputFile::~OutputFile() {
    if (file_) std::fclose(file_);
}

void OutputFile::write(const void* bytes, std::uint64_t count) {
    const auto* at = static_cast<const std::uint8_t*>(bytes);
    // Pieces of 256 KiB: larger writes let the system build the file from
    // large page-cache folios, which on some machines makes a write several
    // times slower, now and then, than the same bytes in smaller pieces.
    constexpr std::uint64_t piece = std::uint64_t{256} << 10;
    while (count > 0) {
        const auto size = static_cast<std::size_t>(std::min(count, piece));
        errno = 0;
        if (std::fwrite(at, 1, size, file_) != size) throw runtime::writeError(errno ? errno : EIO);
        at += size;
        count -= size;
    }
}

void OutputFile::flush() {
    errno = 0;
    if (std::fflush(file_) != 0) throw runtime::writeError(errno ? errno : EIO);
}

void OutputFile::close() {
    std::FILE* file = file_;
    file_ = nullptr;
    errno = 0;
    if (std::fclose(file) != 0) throw runtime::writeError(errno ? errno : EIO);
}

}  // namespace engine
