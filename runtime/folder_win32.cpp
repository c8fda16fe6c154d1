#include "runtime/errors.h"
#include "runtime/folder_native_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/long_path_win32.h"
#include "runtime/paths.h"

namespace runtime {

namespace {

// Opens the folder for querying only, as the size and identity queries need.
// Opened as the name itself (flags FILE_FLAG_OPEN_REPARSE_POINT), a link
// or junction is refused: it may have been put in the folder's place since
// the listing that found a folder there.
FileIdentity folderIdentity(const std::wstring& systemName, const std::string& path, DWORD flags) {
    const FileHandle folder(CreateFileW(systemName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
    if (!folder) throw lastOSError(path);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(folder.get(), &information)) throw lastOSError(path);
    // A subfolder that is no longer one (a link, a file) since the listing.
    const bool listed = flags & FILE_FLAG_OPEN_REPARSE_POINT;
    if (listed && (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) !=
                      FILE_ATTRIBUTE_DIRECTORY) {
        throw NotAFileError(path);
    }
    if (!(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) throw osErrorFromCode(ERROR_DIRECTORY, path);
    return identityOf(information);
}

// The "\\?\" path of the folder a plain path opens: the system's own full
// path of it (trailing dots and blanks dropped, "." and ".." resolved, as
// the open did), in the long form.
std::string exactFolderPath(const std::string& path) {
    const std::wstring opened = systemPath(path);
    if (opened.rfind(L"\\\\?\\", 0) == 0) return narrow(opened);
    const std::string exact = verbatimPath(narrow(fullPathName(opened)));
    return exact.empty() ? path : exact;
}

}  // namespace

// A batch's paths are absolute, so the long form can reach any depth.
Folder::Folder(const std::string& path) : native_(std::make_unique<Native>()) {
    native_->path = path;
    native_->identity = folderIdentity(systemPath(path), path, 0);
    native_->exact = exactFolderPath(path);
}

Folder::Folder(const Folder& parent, const std::string& name) : native_(std::make_unique<Native>()) {
    native_->path = joinPath(parent.path(), name);
    native_->exact = joinPath(parent.native().exact, name);
    native_->identity = folderIdentity(exactSystemPath(native_->exact), native_->path, FILE_FLAG_OPEN_REPARSE_POINT);
}

Folder::~Folder() = default;
Folder::Folder(Folder&&) noexcept = default;
Folder& Folder::operator=(Folder&&) noexcept = default;

const std::string& Folder::path() const { return native_->path; }

FileIdentity Folder::identity() const { return native_->identity; }

std::uint64_t Folder::fileSize(const std::string& name) const {
    WIN32_FIND_DATAW data{};
    const FindHandle find(FindFirstFileW(exactSystemPath(joinPath(native_->exact, name)).c_str(), &data));
    if (!find) throw lastOSError(joinPath(native_->path, name));
    if (data.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) {
        throw NotAFileError(joinPath(native_->path, name));
    }
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
    state_->find.reset(FindFirstFileW(exactSystemPath(joinPath(folder.native().exact, "*")).c_str(), &state_->pending));
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
