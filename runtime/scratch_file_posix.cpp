#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/paths.h"
#include "runtime/scratch_file_native_posix.h"
#include "runtime/stop_cleanup.h"
#include "runtime/temporary_name.h"

namespace runtime {

namespace {

Descriptor createScratch() {
    const std::string folder = temporaryFolder();
#ifdef O_TMPFILE
    Descriptor unnamed(::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (unnamed) return unnamed;
#endif
    // A name for the moment between its creation and its removal, listed
    // so that a stop meanwhile removes it too.
    const std::string base = joinPath(folder, "quenmarl-input");
    for (int attempt = 0;; ++attempt) {
        const std::string path = temporaryNameBeside(base);
        Descriptor file;
        int error = 0;
        const TemporaryFileEntry entry(path, [&] {
            file.reset(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
            error = errno;
            return static_cast<bool>(file);
        });
        if (file) {
            ::unlink(path.c_str());
            return file;
        }
        if (error != EEXIST || attempt == 100) throw osErrorFromCode(static_cast<std::uint32_t>(error), folder);
    }
}

}  // namespace

ScratchFile::ScratchFile() : native_(std::make_unique<Native>()) { native_->descriptor = createScratch(); }

ScratchFile::~ScratchFile() = default;
ScratchFile::ScratchFile(ScratchFile&&) noexcept = default;
ScratchFile& ScratchFile::operator=(ScratchFile&&) noexcept = default;

void ScratchFile::write(const void* bytes, std::uint64_t count) {
    const auto* at = static_cast<const std::uint8_t*>(bytes);
    while (count > 0) {
        const ssize_t written =
            ::write(native_->descriptor.get(), at, static_cast<std::size_t>(std::min<std::uint64_t>(count, 1 << 20)));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw writeError(written < 0 ? errno : EIO);
        at += written;
        count -= static_cast<std::uint64_t>(written);
    }
}

}  // namespace runtime
