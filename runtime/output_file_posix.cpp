#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>

#include "runtime/descriptor_posix.h"
#include "runtime/errors.h"
#include "runtime/identity_posix.h"
#include "runtime/output_file.h"
#include "runtime/paths.h"
#include "runtime/stop_cleanup.h"
#include "runtime/temporary_name.h"

namespace runtime {

struct OutputFile::Native {
    Descriptor owned;
    int descriptor = -1;  // owned, or standard output's
    std::string path;
    bool unnamed = false;   // a file of the folder with no name yet
    std::string temporary;  // the name it is written under, if any
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

// On Linux the file is made without a name in path's folder and named only
// when complete: nothing of it is left if the process dies, whatever kills
// it, and making it costs the folder one change instead of two. False
// where the system cannot: the file then gets a temporary name.
bool createUnnamed(const std::string& path, Descriptor& file) {
#ifdef O_TMPFILE
    // Naming it later goes through its descriptor's entry in /proc.
    static const bool procAvailable = ::access("/proc/self/fd", X_OK) == 0;
    if (!procAvailable) return false;
    const std::string folder = folderPart(path);
    file.reset(::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    return static_cast<bool>(file);
#else
    (void)path;
    (void)file;
    return false;
#endif
}

// Gives the open file the name path, which must be free. Errno tells why
// not.
bool linkTo(int descriptor, const std::string& path) {
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

}  // namespace

OutputFile::OutputFile(const std::string& path) : native_(std::make_unique<Native>()) {
    native_->path = path;
    native_->owned = openSpecialFile(path, native_->replaced);
    native_->descriptor = native_->owned.get();
    if (native_->owned) return;
    if (createUnnamed(path, native_->owned)) {
        native_->descriptor = native_->owned.get();
        native_->unnamed = true;
        return;
    }
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

void OutputFile::reserve(std::uint64_t size) noexcept {
#ifdef FALLOC_FL_KEEP_SIZE
    // The size stays that of the bytes written, whatever becomes of them.
    (void)::fallocate(native_->descriptor, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size));
#else
    (void)size;
#endif
}

void OutputFile::write(const void* bytes, std::uint64_t count) {
    const auto* at = static_cast<const std::uint8_t*>(bytes);
    // Pieces of 1 MiB: much larger writes let the system build the file from
    // large page-cache folios, which on some machines makes a write several
    // times slower, now and then, than the same bytes in smaller pieces.
    constexpr std::uint64_t piece = std::uint64_t{1} << 20;
    while (count > 0) {
        const ssize_t written = ::write(native_->descriptor, at, static_cast<std::size_t>(std::min(count, piece)));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw writeError(written < 0 ? errno : EIO);
        at += written;
        count -= static_cast<std::uint64_t>(written);
    }
}

void OutputFile::commit() {
    Native& native = *native_;
    if (native.descriptor < 0) throw InternalError("an output was committed twice: " + native.path);
    if (native.unnamed && !linkTo(native.descriptor, native.path)) {
        if (errno != EEXIST) throw lastOSError(native.path);
        // An earlier file of that name: the new one is named beside it
        // first, then moved over it in one step.
        for (int attempt = 0;; ++attempt) {
            std::string temporary = temporaryNameBeside(native.path);
            if (linkTo(native.descriptor, temporary)) {
                native.temporary = std::move(temporary);
                native.entry.emplace(native.temporary);
                break;
            }
            if (errno != EEXIST || attempt == 100) throw lastOSError(native.path);
        }
    }
    const int owned = native.owned.release();
    native.descriptor = -1;
    if (owned < 0) return;  // standard output, written unbuffered: nothing left
    if (::close(owned) != 0 && errno != EINTR) throw writeError(errno);
    if (native.temporary.empty()) return;
    if (::rename(native.temporary.c_str(), native.path.c_str()) != 0) throw lastOSError(native.path);
    native.temporary.clear();
    native.entry.reset();
}

}  // namespace runtime
