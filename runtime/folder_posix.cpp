#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "runtime/errors.h"
#include "runtime/folder_native_posix.h"
#include "runtime/identity_posix.h"
#include "runtime/paths.h"

namespace runtime {

namespace {

std::unique_ptr<Folder::Native> openFolder(int at, const std::string& name, const std::string& path, int flags) {
    auto native = std::make_unique<Folder::Native>();
    native->path = path;
    native->descriptor.reset(::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags));
    // A link or a file where a folder was listed: it changed since.
    if (!native->descriptor && (flags & O_NOFOLLOW) && (errno == ELOOP || errno == ENOTDIR)) throw NotAFileError(path);
    if (!native->descriptor) throw lastOSError(path);
    struct stat info {};
    if (::fstat(native->descriptor.get(), &info) != 0) throw lastOSError(path);
    native->identity = identityOf(info);
    return native;
}

}  // namespace

Folder::Folder(const std::string& path) : native_(openFolder(AT_FDCWD, path, path, 0)) {}

Folder::Folder(const Folder& parent, const std::string& name)
    : native_(openFolder(parent.native_->descriptor.get(), name, joinPath(parent.path(), name), O_NOFOLLOW)) {}

Folder::~Folder() = default;
Folder::Folder(Folder&&) noexcept = default;
Folder& Folder::operator=(Folder&&) noexcept = default;

const std::string& Folder::path() const { return native_->path; }

FileIdentity Folder::identity() const { return native_->identity; }

std::uint64_t Folder::fileSize(const std::string& name) const {
    struct stat info {};
    if (::fstatat(native_->descriptor.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        throw lastOSError(joinPath(path(), name));
    }
    if (!S_ISREG(info.st_mode)) throw NotAFileError(joinPath(path(), name));
    return static_cast<std::uint64_t>(info.st_size);
}

struct FolderListing::State {
    DIR* dir = nullptr;
    int descriptor = -1;
    std::string path;
};

FolderListing::FolderListing(const Folder& folder) : state_(std::make_unique<State>()) {
    state_->path = folder.path();
    state_->descriptor = folder.native().descriptor.get();
    // The listing reads through a descriptor of its own; the folder's stays
    // free for opening the names it finds.
    Descriptor own(::openat(state_->descriptor, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!own) throw lastOSError(state_->path);
    state_->dir = ::fdopendir(own.get());
    if (!state_->dir) throw lastOSError(state_->path);
    own.release();  // the listing's now
}

FolderListing::~FolderListing() { ::closedir(state_->dir); }

std::optional<FolderEntry> FolderListing::next() {
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(state_->dir);
        if (!entry) {
            if (errno != 0) throw lastOSError(state_->path);
            return std::nullopt;
        }
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            // Some file systems do not fill d_type: ask the entry itself,
            // without following a link.
            struct stat info {};
            if (::fstatat(state_->descriptor, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
                type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_LNK;
            }
        }
        // Only plain files and folders take part; links and special files
        // (pipes, devices, sockets) are what reparse points are on Windows.
        FolderEntry result{FolderEntry::Kind::link, name};
        if (type == DT_DIR) result.kind = FolderEntry::Kind::folder;
        if (type == DT_REG) result.kind = FolderEntry::Kind::file;
        return result;
    }
}

}  // namespace runtime
