#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "runtime/errors.h"
#include "runtime/fs.h"

namespace runtime {

PathKind pathKind(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return PathKind::none;
    return S_ISDIR(info.st_mode) ? PathKind::folder : PathKind::file;
}

std::uint64_t directoryEntrySize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) throw lastOSError(path);
    return S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
}

std::string currentDirectory() {
    std::vector<char> buffer(PATH_MAX);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) throw lastOSError();
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::string executablePath() {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) throw lastOSError("/proc/self/exe");
        if (static_cast<std::size_t>(length) < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

bool canOpenForQuery(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

CreateFolderOutcome createFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return CreateFolderOutcome::created;
    if (errno != EEXIST) throw lastOSError(path);
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return CreateFolderOutcome::existedAsFolder;
    return CreateFolderOutcome::existsAsOther;
}

struct FolderListing::State {
    DIR* dir = nullptr;
    std::string folder;
};

FolderListing::FolderListing(const std::string& folder)
    : state_(std::make_unique<State>(State{::opendir(folder.c_str()), folder})) {}

FolderListing::~FolderListing() {
    if (state_->dir) ::closedir(state_->dir);
}

bool FolderListing::isOpen() const { return state_->dir != nullptr; }

std::optional<FolderEntry> FolderListing::next() {
    errno = 0;
    const dirent* entry = ::readdir(state_->dir);
    if (!entry) {
        if (errno != 0) throw lastOSError();
        return std::nullopt;
    }
    FolderEntry result{FolderEntry::Kind::link, entry->d_name};
    unsigned char type = entry->d_type;
    if (type == DT_UNKNOWN) {
        // Some file systems do not fill d_type: ask the entry itself, without
        // following a link.
        struct stat info {};
        const std::string full = state_->folder + "/" + entry->d_name;
        if (::lstat(full.c_str(), &info) == 0) {
            type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_LNK;
        }
    }
    // Only plain files and folders take part; links and special files (pipes,
    // devices, sockets) are what reparse points are on Windows: left alone.
    if (type == DT_DIR) result.kind = FolderEntry::Kind::folder;
    if (type == DT_REG) result.kind = FolderEntry::Kind::file;
    return result;
}

std::FILE* openFileForWriting(const std::string& path) { return std::fopen(path.c_str(), "wb"); }

unsigned processorCount() {
    const long count = ::sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? static_cast<unsigned>(count) : 1u;
}

}  // namespace runtime
