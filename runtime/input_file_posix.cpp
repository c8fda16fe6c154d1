#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "runtime/descriptor_posix.h"
#include "runtime/errors.h"
#include "runtime/fault_guard_posix.h"
#include "runtime/folder_native_posix.h"
#include "runtime/identity_posix.h"
#include "runtime/input_file.h"
#include "runtime/input_file_native_posix.h"
#include "runtime/paths.h"
#include "runtime/scratch_file_native_posix.h"

namespace runtime {

namespace {

std::uint64_t pageBytes() {
    static const auto bytes = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    return bytes;
}

bool sameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

// A file of the system's own pseudo file systems: its size says nothing
// of its content, and reading it may block or never end.
bool isPseudoFile(int descriptor) {
    struct statfs system {};
    if (::fstatfs(descriptor, &system) != 0) return false;
    constexpr long procMagic = 0x9fa0;
    constexpr long sysfsMagic = 0x62656572;
    return system.f_type == procMagic || system.f_type == sysfsMagic;
}

// pseudoFiles: whether a file of the system's pseudo file systems is looked
// for (a path given; a folder's files are sized from their listing).
std::unique_ptr<InputFile::Native> adopt(Descriptor descriptor, const std::string& path, bool pseudoFiles) {
    auto native = std::make_unique<InputFile::Native>();
    native->path = path;
    native->descriptor = std::move(descriptor);
    if (::fstat(native->descriptor.get(), &native->opened) != 0) throw lastOSError(path);
    // The kind of what was opened, not of the name before: it may have
    // changed in between.
    if (!S_ISREG(native->opened.st_mode) || (pseudoFiles && isPseudoFile(native->descriptor.get()))) {
        throw NotAFileError(path);
    }
    // Read-ahead pays for large inputs only; for small ones it is a wasted call.
    if (native->opened.st_size > (1 << 20)) ::posix_fadvise(native->descriptor.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return native;
}

std::unique_ptr<InputFile::Native> openInput(int at, const std::string& name, const std::string& path, int flags) {
    // O_NONBLOCK keeps a pipe given as input from blocking the open; it has
    // no effect on the plain files that are accepted.
    Descriptor descriptor(::openat(at, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | flags));
    if (!descriptor) {
        // A link where a plain file was listed: it changed since.
        if (errno == ELOOP && (flags & O_NOFOLLOW)) throw NotAFileError(path);
        throw lastOSError(path);
    }
    return adopt(std::move(descriptor), path, at == AT_FDCWD);
}

}  // namespace

InputFile::InputFile(const std::string& path) : native_(openInput(AT_FDCWD, path, path, 0)) {}

InputFile::InputFile(const Folder& folder, const std::string& name)
    : native_(openInput(folder.native().descriptor.get(), name, joinPath(folder.path(), name), O_NOFOLLOW)) {}

InputFile::InputFile(ScratchFile scratch, const std::string& path, std::optional<SourceFile> origin)
    : native_(adopt(std::move(scratch.native().descriptor), path, false)) {
    // A scratch file is private whatever its data: the data's own file
    // decides, or for data from a pipe what any new file gets.
    native_->origin = origin.value_or(SourceFile{identityOf(native_->opened), 0666});
}

InputFile::~InputFile() = default;

std::uint64_t InputFile::size() const { return static_cast<std::uint64_t>(native_->opened.st_size); }

FileIdentity InputFile::identity() const {
    return native_->origin ? native_->origin->identity : identityOf(native_->opened);
}

std::uint32_t InputFile::permissions() const {
    return native_->origin ? native_->origin->permissions : native_->opened.st_mode & 0777;
}

std::uint64_t InputFile::read(std::uint64_t offset, std::uint64_t length, std::uint8_t* destination) {
    std::uint64_t done = 0;
    while (done < length) {
        const ssize_t got =
            ::pread(native_->descriptor.get(), destination + done, length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw lastOSError(native_->path);
        if (got == 0) break;  // the file ends here now
        done += static_cast<std::uint64_t>(got);
    }
    return done;
}

const std::uint8_t* InputFile::view(std::uint64_t offset, std::uint64_t length) {
    Native& native = *native_;
    const auto size = static_cast<std::size_t>(native.opened.st_size);
    if (size == 0 || length == 0) return nullptr;
    if (!native.mapping) {
        void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, native.descriptor.get(), 0);
        if (mapping == MAP_FAILED) throw lastOSError(native.path);
        native.mapping = mapping;
        native.guard = std::make_unique<MappingFaultGuard>(mapping, size);
        if (!native.guard->active()) {
            native.unmap();
            throw osErrorFromCode(ENFILE, native.path);
        }
        if (size > (1u << 20)) ::madvise(mapping, size, MADV_SEQUENTIAL);
    }
    return static_cast<const std::uint8_t*>(native.mapping) + offset;
}

void InputFile::release(std::uint64_t before) noexcept {
    Native& native = *native_;
    if (!native.mapping) return;
    const std::uint64_t end = before / pageBytes() * pageBytes();
    if (end <= native.releasedBefore) return;
    ::madvise(static_cast<char*>(native.mapping) + native.releasedBefore, end - native.releasedBefore, MADV_DONTNEED);
    native.releasedBefore = end;
}

void InputFile::prefetch(std::uint64_t offset, std::uint64_t length) noexcept {
    Native& native = *native_;
    const auto size = static_cast<std::uint64_t>(native.opened.st_size);
    if (!native.mapping || offset >= size) return;
    length = std::min(length, size - offset);
    // Asking looks up every page: for a chunk in memory, as it mostly is,
    // as long as a twentieth of filtering them. A few pages tell first.
    const std::uint64_t page = pageBytes();
    constexpr std::uint64_t looks = 16;
    bool inMemory = true;
    for (std::uint64_t i = 0; i < looks && inMemory; ++i) {
        const std::uint64_t at = (offset + length / looks * i) / page * page;
        unsigned char pageState = 0;
        inMemory = ::mincore(static_cast<char*>(native.mapping) + at, 1, &pageState) == 0 && (pageState & 1) != 0;
    }
    if (!inMemory) {
        (void)::posix_fadvise(native.descriptor.get(), static_cast<off_t>(offset), static_cast<off_t>(length),
                              POSIX_FADV_WILLNEED);
    }
}

bool InputFile::unchanged() const {
    struct stat now {};
    if (native_->guard && native_->guard->faulted()) return false;
    return ::fstat(native_->descriptor.get(), &now) == 0 && now.st_size == native_->opened.st_size &&
           sameTime(now.st_mtim, native_->opened.st_mtim);
}

void InputFile::close() {
    native_->unmap();
    if (::close(native_->descriptor.release()) != 0 && errno != EINTR) throw lastOSError(native_->path);
}

}  // namespace runtime
