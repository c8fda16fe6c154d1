#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

#include "runtime/descriptor_posix.h"
#include "runtime/errors.h"
#include "runtime/identity_posix.h"
#include "runtime/output_file.h"
#include "runtime/stop_cleanup.h"
#include "runtime/temporary_name.h"

namespace runtime {

struct OutputFile::Native {
    Descriptor owned;
    int descriptor = -1;  // owned, or standard output's
    std::string path;
    std::string temporary;  // empty when path itself is written
    std::optional<TemporaryFileEntry> entry;
    std::optional<FileIdentity> replaced;
};

namespace {

// Opens a device or pipe that path names; owns nothing when path names
// nothing of the kind. Raises OSError when path cannot be written.
Descriptor openSpecialFile(const std::string& path, std::optional<FileIdentity>& replaced) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return {};
        throw lastOSError(path);
    }
    if (S_ISDIR(info.st_mode)) throw osErrorFromCode(EISDIR, path);
    if (S_ISREG(info.st_mode)) {
        replaced = identityOf(info);
        // Replacing the file needs only the folder's permission; refuse it
        // as writing the file in place would have been refused.
        if (::access(path.c_str(), W_OK) != 0) throw lastOSError(path);
        return {};
    }
    Descriptor descriptor(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (!descriptor) throw lastOSError(path);
    return descriptor;
}

}  // namespace

OutputFile::OutputFile(const std::string& path) : native_(std::make_unique<Native>()) {
    native_->path = path;
    native_->owned = openSpecialFile(path, native_->replaced);
    native_->descriptor = native_->owned.get();
    if (native_->owned) return;
    for (int attempt = 0;; ++attempt) {
        std::string temporary = temporaryNameBeside(path);
        native_->owned.reset(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (native_->owned) {
            native_->descriptor = native_->owned.get();
            native_->temporary = std::move(temporary);
            native_->entry.emplace(native_->temporary);
            return;
        }
        if (errno != EEXIST || attempt == 100) throw lastOSError(path);
    }
}

OutputFile::OutputFile(StandardOutput) : native_(std::make_unique<Native>()) {
    native_->path = "standard output";
    native_->descriptor = STDOUT_FILENO;
    native_->replaced = standardOutputIdentity();
}

const std::optional<FileIdentity>& OutputFile::replaces() const { return native_->replaced; }

OutputFile::~OutputFile() {
    native_->owned.reset();
    if (!native_->temporary.empty()) ::unlink(native_->temporary.c_str());
}

void OutputFile::write(const void* bytes, std::uint64_t count) {
    const auto* at = static_cast<const std::uint8_t*>(bytes);
    // Pieces of 256 KiB: larger writes let the system build the file from
    // large page-cache folios, which on some machines makes a write several
    // times slower, now and then, than the same bytes in smaller pieces.
    constexpr std::uint64_t piece = std::uint64_t{256} << 10;
    while (count > 0) {
        const ssize_t written = ::write(native_->descriptor, at, static_cast<std::size_t>(std::min(count, piece)));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw writeError(written < 0 ? errno : EIO);
        at += written;
        count -= static_cast<std::uint64_t>(written);
    }
}

void OutputFile::commit() {
    if (native_->descriptor < 0) throw InternalError("an output was committed twice: " + native_->path);
    const int owned = native_->owned.release();
    native_->descriptor = -1;
    if (owned < 0) return;  // standard output, written unbuffered: nothing left
    if (::close(owned) != 0 && errno != EINTR) throw writeError(errno);
    if (native_->temporary.empty()) return;
    if (::rename(native_->temporary.c_str(), native_->path.c_str()) != 0) throw lastOSError(native_->path);
    native_->temporary.clear();
    native_->entry.reset();
}

}  // namespace runtime
