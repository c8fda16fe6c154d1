#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "runtime/descriptor_posix.h"
#include "runtime/errors.h"
#include "runtime/identity_posix.h"
#include "runtime/input_file_native_posix.h"
#include "runtime/output_file.h"
#include "runtime/paths.h"
#include "runtime/stop_cleanup.h"
#include "runtime/temporary_name.h"

namespace runtime {

struct OutputFile::Native {
    Descriptor owned;
    int descriptor = -1;    // owned, or standard output's
    std::string path;       // the name the output takes: path, or where its links lead
    bool inPlace = false;   // written where path leads, not put in place
    bool unnamed = false;   // a file of the folder with no name yet
    std::string temporary;  // the name it is written under, if any
    std::optional<TemporaryFileEntry> entry;
    std::optional<FileIdentity> replaced;
    std::optional<struct stat> earlier;  // the file it replaces, whose mode and owner it takes
    mode_t mode = 0600;                  // the mode it is to have under its name
    bool hasMode = false;                // it was created with that mode
    bool fresh = false;                  // nothing at path may be replaced
};

namespace {

mode_t creationMask() {
    static const mode_t mask = [] {
        const mode_t value = ::umask(0);
        ::umask(value);
        return value;
    }();
    return mask;
}

// The descriptor a name of a standard stream stands for: /dev/stdout,
// /dev/stderr, /dev/fd/N and /proc/self/fd/N (or this process's number).
// Writing to it rather than opening the name again keeps the stream's
// position and append mode, as writing standard output does.
std::optional<int> standardStreamNamed(const std::string& path) {
    const std::string normal = normalizePath(path);
    if (normal == "/dev/stdout") return STDOUT_FILENO;
    if (normal == "/dev/stderr") return STDERR_FILENO;
    std::string_view number;
    for (const std::string& prefix :
         {std::string("/dev/fd/"), std::string("/proc/self/fd/"), std::string("/proc/thread-self/fd/"),
          "/proc/" + std::to_string(::getpid()) + "/fd/"}) {
        if (normal.rfind(prefix, 0) == 0) number = std::string_view(normal).substr(prefix.size());
    }
    int descriptor = -1;
    if (number.empty() || std::from_chars(number.data(), number.data() + number.size(), descriptor).ptr !=
                              number.data() + number.size()) {
        return std::nullopt;
    }
    return descriptor;
}

// A descriptor table entry of another process (/proc/PID/fd/N): written
// in place, since it stands for whatever that process has open.
bool namesAnotherProcessStream(const std::string& path) {
    const std::string normal = normalizePath(path);
    if (normal.rfind("/proc/", 0) != 0) return false;
    const std::string rest = normal.substr(6);
    const std::size_t slash = rest.find('/');
    return slash != std::string::npos && rest.compare(slash, 4, "/fd/") == 0;
}

// Where a path the user gave leads.
struct GivenTarget {
    std::string path;                   // the last name of its chain of links
    std::optional<int> standardStream;  // met a name of a standard stream
    bool anotherProcessStream = false;  // met /proc/PID/fd/N of another process
    std::optional<struct stat> found;   // what is at path, if anything
};

GivenTarget followGiven(const std::string& path) {
    GivenTarget target{path, {}, false, {}};
    for (int links = 0;; ++links) {
        target.standardStream = standardStreamNamed(target.path);
        if (target.standardStream) return target;
        if (namesAnotherProcessStream(target.path)) {
            target.anotherProcessStream = true;
            return target;
        }
        struct stat info {};
        if (::lstat(target.path.c_str(), &info) != 0) {
            if (errno != ENOENT) throw lastOSError(path);
            if (links > 0) throw DanglingLinkError(path);
            return target;  // a new file
        }
        if (!S_ISLNK(info.st_mode)) {
            target.found = info;
            return target;
        }
        if (links == 40) throw osErrorFromCode(ELOOP, path);
        std::vector<char> link(static_cast<std::size_t>(std::max<off_t>(info.st_size, 255)) + 1);
        const ssize_t length = ::readlink(target.path.c_str(), link.data(), link.size());
        if (length < 0) throw lastOSError(path);
        const std::string next(link.data(), static_cast<std::size_t>(length));
        // Relative to the link's own folder, joined as text but not
        // normalised: ".." after a linked folder must go where the file
        // system takes it.
        const std::string folder = folderPart(target.path);
        target.path = isAbsolutePath(next) || folder.empty() ? next : folder + "/" + next;
    }
}

// Opens what the output is written to in place.
Descriptor openInPlace(const GivenTarget& target, const std::string& path) {
    Descriptor descriptor(target.standardStream ? ::fcntl(*target.standardStream, F_DUPFD_CLOEXEC, 3)
                                                : ::open(target.path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (!descriptor) throw lastOSError(path);
    return descriptor;
}

// The output's name is taken by a file it is to replace: refuse what
// writing that file in place would have refused, since replacing it needs
// only the folder's permission.
void checkReplaceable(const std::string& path, const std::string& shown) {
    if (::access(path.c_str(), W_OK) != 0) throw lastOSError(shown);
}

// On Linux the file is made without a name in path's folder and named only
// when complete: nothing of it is left if the process dies, whatever kills
// it, and making it costs the folder one change instead of two. False
// where the system cannot: the file then gets a temporary name.
// Nobody else can reach a file without a name, so it is made with its
// final mode at once.
bool createUnnamed(const std::string& path, mode_t mode, Descriptor& file) {
#ifdef O_TMPFILE
    // Naming it later goes through its descriptor's entry in /proc.
    static const bool procAvailable = ::access("/proc/self/fd", X_OK) == 0;
    if (!procAvailable) return false;
    const std::string folder = folderPart(path);
    file.reset(::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    return static_cast<bool>(file);
#else
    (void)path;
    (void)mode;
    (void)file;
    return false;
#endif
}

// Gives the open file the name path, which must be free. Errno tells why
// not.
bool linkTo(int descriptor, const std::string& path) {
#ifdef AT_EMPTY_PATH
    // Directly where the system lets this process (it may refuse it to
    // processes without the right to search every folder): one lookup fewer
    // than through /proc.
    if (::linkat(descriptor, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return true;
    if (errno != ENOENT && errno != EPERM) return false;
#endif
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Gives the file a free name beside path, listed for removal in the same
// step; make(name) creates it. Raises OSError with path as detail.
template <class Make>
void nameBeside(OutputFile::Native& native, const std::string& path, Make make) {
    for (int attempt = 0;; ++attempt) {
        std::string temporary = temporaryNameBeside(path);
        int error = 0;
        native.entry.emplace(temporary, [&] {
            const bool made = make(temporary);
            error = errno;
            return made;
        });
        if (*native.entry) {
            native.temporary = std::move(temporary);
            return;
        }
        native.entry.reset();
        if (error != EEXIST || attempt == 100) throw osErrorFromCode(static_cast<std::uint32_t>(error), path);
    }
}

// The output is to replace what found describes at native.path: a folder
// is refused, a file must be writable and passes on its mode and owner.
void takeOver(OutputFile::Native& native, const struct stat& found, const std::string& shown) {
    if (S_ISDIR(found.st_mode)) throw osErrorFromCode(EISDIR, shown);
    if (!S_ISREG(found.st_mode)) return;
    checkReplaceable(native.path, shown);
    native.replaced = identityOf(found);
    native.earlier = found;
    native.mode = found.st_mode & 0777;
    native.hasMode = false;
}

// Creates the output without a name, to be named when committed. False
// where the file system cannot.
bool startUnnamed(OutputFile::Native& native) {
    if (!createUnnamed(native.path, native.mode, native.owned)) return false;
    native.descriptor = native.owned.get();
    native.unnamed = true;
    // The creation mask took its bits from the mode asked for.
    native.hasMode = (native.mode & creationMask()) == 0;
    return true;
}

// Gives the finished file the owner and mode it is to have under its name.
void settleMode(const OutputFile::Native& native) {
    const struct stat* earlier = native.earlier ? &*native.earlier : nullptr;
    if (earlier && (earlier->st_uid != ::geteuid() || earlier->st_gid != ::getegid())) {
        // Only where the process may: the owner, else at least the group.
        if (::fchown(native.descriptor, earlier->st_uid, earlier->st_gid) != 0) {
            (void)::fchown(native.descriptor, static_cast<uid_t>(-1), earlier->st_gid);
        }
    }
    if (!native.hasMode) (void)::fchmod(native.descriptor, native.mode);
}

}  // namespace

void OutputFile::readCreationMask() { (void)creationMask(); }

bool outputIsWrittenInPlace(const std::string& path) {
    try {
        const GivenTarget target = followGiven(path);
        return target.standardStream || target.anotherProcessStream ||
               (target.found && !S_ISREG(target.found->st_mode) && !S_ISDIR(target.found->st_mode));
    } catch (const Error&) {
        return false;
    }
}

OutputFile::OutputFile(const std::string& path, OutputNaming naming, std::uint32_t permissions)
    : native_(std::make_unique<Native>()) {
    Native& native = *native_;
    native.path = path;
    native.mode = static_cast<mode_t>(permissions) & 0666 & ~creationMask();
    std::optional<struct stat> found;
    if (naming == OutputNaming::given) {
        const GivenTarget target = followGiven(path);
        native.path = target.path;
        found = target.found;
        const bool special = found && !S_ISREG(found->st_mode) && !S_ISDIR(found->st_mode);
        if (target.standardStream || target.anotherProcessStream || special) {
            native.owned = openInPlace(target, path);
            native.descriptor = native.owned.get();
            native.inPlace = true;
            struct stat opened {};
            if (::fstat(native.descriptor, &opened) == 0 && S_ISREG(opened.st_mode))
                native.replaced = identityOf(opened);
            return;
        }
    } else {
        // A name the program made is mostly free: what it holds is looked
        // at only when naming the output finds it taken (see commit), which
        // spares each file of a batch a lookup in the folder the outputs
        // are named in meanwhile. Looked at now where the file cannot be
        // made without a name.
        if (naming == OutputNaming::own && startUnnamed(native)) return;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0) {
            if (naming == OutputNaming::fresh) throw osErrorFromCode(EEXIST, path);
            found = info;
        } else if (errno != ENOENT) {
            throw lastOSError(path);
        }
        native.fresh = naming == OutputNaming::fresh;
    }
    if (found) takeOver(native, *found, path);
    if (startUnnamed(native)) return;
    nameBeside(native, native.path, [&](const std::string& temporary) {
        native.owned.reset(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        return static_cast<bool>(native.owned);
    });
    native.descriptor = native.owned.get();
}

OutputFile::OutputFile(StandardOutput) : native_(std::make_unique<Native>()) {
    native_->path = "standard output";
    native_->descriptor = STDOUT_FILENO;
    native_->inPlace = true;
    native_->replaced = standardOutputIdentity();
}

const std::optional<FileIdentity>& OutputFile::replaces() const { return native_->replaced; }

bool OutputFile::inPlace() const { return native_->inPlace; }

OutputFile::~OutputFile() {
    native_->owned.reset();
    if (!native_->temporary.empty()) ::unlink(native_->temporary.c_str());
}

void OutputFile::reserve(std::uint64_t size) noexcept {
#ifdef FALLOC_FL_KEEP_SIZE
    if (native_->inPlace) return;
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
        if (written < 0 && errno == EPIPE) endAsBrokenPipe();
        if (written <= 0) throw writeError(written < 0 ? errno : EIO);
        at += written;
        count -= static_cast<std::uint64_t>(written);
    }
}

std::uint64_t OutputFile::copyFrom(InputFile& input, std::uint64_t offset, std::uint64_t length) {
    // The system copies from the input's page cache to the output without
    // the bytes passing through the program: one copy instead of two.
    const int from = input.native().descriptor.get();
    auto at = static_cast<off_t>(offset);
    std::uint64_t done = 0;
    while (done < length) {
        const ssize_t sent = ::sendfile(native_->descriptor, from, &at,
                                        static_cast<std::size_t>(std::min<std::uint64_t>(length - done, 1u << 30)));
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EINVAL || errno == ENOSYS) && done == 0) break;  // not between these two
        if (sent < 0 && errno == EPIPE) endAsBrokenPipe();
        if (sent < 0) throw writeError(errno);
        if (sent == 0) return done;  // the input ends here now
        done += static_cast<std::uint64_t>(sent);
    }
    if (done == length) return done;
    // Through a buffer, where the system cannot send from one to the other.
    std::vector<std::uint8_t> buffer(std::size_t{1} << 20);
    while (done < length) {
        const std::uint64_t got =
            input.read(offset + done, std::min<std::uint64_t>(length - done, buffer.size()), buffer.data());
        if (got == 0) return done;
        write(buffer.data(), got);
        done += got;
    }
    return done;
}

void OutputFile::commit() {
    Native& native = *native_;
    if (native.descriptor < 0) throw InternalError("an output was committed twice: " + native.path);
    if (!native.inPlace) settleMode(native);
    if (native.unnamed && !linkTo(native.descriptor, native.path)) {
        if (errno != EEXIST || native.fresh) throw lastOSError(native.path);
        if (!native.earlier) {
            // Taken since it was looked at, or never looked at.
            struct stat found {};
            if (::lstat(native.path.c_str(), &found) != 0) throw lastOSError(native.path);
            takeOver(native, found, native.path);
            settleMode(native);
        }
        // An earlier file of that name: the new one is named beside it
        // first, then moved over it in one step.
        nameBeside(native, native.path,
                   [&](const std::string& temporary) { return linkTo(native.descriptor, temporary); });
    }
    const int owned = native.owned.release();
    native.descriptor = -1;
    if (owned < 0) return;  // standard output, written unbuffered: nothing left
    if (::close(owned) != 0 && errno != EINTR) throw writeError(errno);
    if (native.temporary.empty()) return;
    if (native.fresh) {
        // Named without replacing: a link fails when the name is taken.
        if (::link(native.temporary.c_str(), native.path.c_str()) != 0) throw lastOSError(native.path);
        ::unlink(native.temporary.c_str());
    } else if (::rename(native.temporary.c_str(), native.path.c_str()) != 0) {
        throw lastOSError(native.path);
    }
    native.temporary.clear();
    native.entry.reset();
}

}  // namespace runtime
