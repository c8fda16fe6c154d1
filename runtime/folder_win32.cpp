#include "runtime/errors.h"
#include "runtime/folder_native_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/long_path_win32.h"
#include "runtime/paths.h"

namespace runtime {

namespace {

// Opens the folder for querying only, as the size and identity queries need.
FileIdentity folderIdentity(const std::string& path, DWORD flags) {
    const FileHandle folder(CreateFileW(systemPath(path).c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
    if (!folder) throw lastOSError(path);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(folder.get(), &information)) throw lastOSError(path);
    if (!(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) throw osErrorFromCode(ERROR_DIRECTORY, path);
    return identityOf(information);
}

std::unique_ptr<Folder::Native> openFolder(const std::string& path, DWORD flags) {
    auto native = std::make_unique<Folder::Native>();
    native->path = path;
    native->identity = folderIdentity(path, flags);
    return native;
}

}  // namespace

// A batch's paths are absolute, so the long form can reach any depth.
Folder::Folder(const std::string& path) : native_(openFolder(path, 0)) {}

Folder::Folder(const Folder& parent, const std::string& name)
    : native_(openFolder(joinPath(parent.path(), name), FILE_FLAG_OPEN_REPARSE_POINT)) {}

Folder::~Folder() = default;
Folder::Folder(Folder&&) noexcept = default;
Folder& Folder::operator=(Folder&&) noexcept = default;

const std::string& Folder::path() const { return native_->path; }

FileIdentity Folder::identity() const { return native_->identity; }

std::uint64_t Folder::fileSize(const std::string& name) const {
    const std::string path = joinPath(native_->path, name);
    WIN32_FIND_DATAW data{};
    const FindHandle find(FindFirstFileW(systemPath(path).c_str(), &data));
    if (!find) throw lastOSError(path);
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

struct FolderListing::State {
    WIN32_FIND_DATAW pending{};  // FindFirstFileW already returns the first entry
    FindHandle find;
    bool hasPending = false;
    std::string path;
};

FolderListing::FolderListing(const Folder& folder) : state_(std::make_unique<State>()) {
    state_->path = folder.path();
    state_->find.reset(FindFirstFileW(systemPath(joinPath(folder.path(), "*")).c_str(), &state_->pending));
    if (!state_->find) throw lastOSError(state_->path);
    state_->hasPending = true;
}

FolderListing::~FolderListing() = default;

std::optional<FolderEntry> FolderListing::next() {
    for (;;) {
        WIN32_FIND_DATAW data{};
        if (state_->hasPending) {
            data = state_->pending;
            state_->hasPending = false;
        } else if (!FindNextFileW(state_->find.get(), &data)) {
            const DWORD error = GetLastError();
            if (error == ERROR_NO_MORE_FILES) return std::nullopt;
            throw osErrorFromCode(error, state_->path);
        }
        FolderEntry entry{FolderEntry::Kind::file, narrow(data.cFileName)};
        if (entry.name == "." || entry.name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            entry.kind = FolderEntry::Kind::link;
        } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            entry.kind = FolderEntry::Kind::folder;
        }
        return entry;
    }
}

}  // namespace runtime
