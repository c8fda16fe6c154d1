#include <windows.h>

#include <vector>

#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/paths.h"
#include "runtime/text.h"

namespace runtime {

namespace {

// Owns a find handle of FindFirstFileW.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// Owns a file handle of CreateFileW.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

}  // namespace

PathKind pathKind(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::none;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::folder : PathKind::file;
}

std::uint64_t directoryEntrySize(const std::string& path) {
    WIN32_FIND_DATAW data{};
    FindHandle find(FindFirstFileW(widen(path).c_str(), &data));
    if (!find.valid()) throw lastOSError(path);
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string currentDirectory() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) throw lastOSError();
    std::vector<wchar_t> buffer(needed);
    const DWORD length = GetCurrentDirectoryW(needed, buffer.data());
    if (length == 0 || length >= needed) throw lastOSError();
    return narrow(std::wstring_view(buffer.data(), length));
}

std::string executablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) throw lastOSError();
        if (length < buffer.size()) return narrow(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

bool canOpenForQuery(const std::string& path) {
    FileHandle file(CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return false;
    BY_HANDLE_FILE_INFORMATION information{};
    return GetFileInformationByHandle(file.get(), &information) != 0;
}

CreateFolderOutcome createFolder(const std::string& path) {
    const std::wstring wide = widen(path);
    if (CreateDirectoryW(wide.c_str(), nullptr)) return CreateFolderOutcome::created;
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS) throw osErrorFromCode(error, path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return CreateFolderOutcome::existedAsFolder;
    return CreateFolderOutcome::existsAsOther;
}

struct FolderListing::State {
    // FindFirstFileW already returns the first entry: it waits in pending.
    explicit State(const std::wstring& pattern)
        : find(FindFirstFileW(pattern.c_str(), &pending)), hasPending(find.valid()) {}
    WIN32_FIND_DATAW pending{};
    FindHandle find;
    bool hasPending;
};

FolderListing::FolderListing(const std::string& folder)
    : state_(std::make_unique<State>(widen(joinPath(folder, "*")))) {}

FolderListing::~FolderListing() = default;

bool FolderListing::isOpen() const { return state_->find.valid(); }

std::optional<FolderEntry> FolderListing::next() {
    WIN32_FIND_DATAW data{};
    if (state_->hasPending) {
        data = state_->pending;
        state_->hasPending = false;
    } else if (!FindNextFileW(state_->find.get(), &data)) {
        const DWORD error = GetLastError();
        if (error == ERROR_NO_MORE_FILES) return std::nullopt;
        throw osErrorFromCode(error);
    }
    FolderEntry entry{FolderEntry::Kind::file, narrow(data.cFileName)};
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        entry.kind = FolderEntry::Kind::link;
    } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        entry.kind = FolderEntry::Kind::folder;
    }
    return entry;
}

std::FILE* openFileForWriting(const std::string& path) { return _wfopen(widen(path).c_str(), L"wb"); }

unsigned processorCount() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1u;
}

}  // namespace runtime
