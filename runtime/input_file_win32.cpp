#include <algorithm>
#include <cstring>

#include "runtime/errors.h"
#include "runtime/folder_native_win32.h"
#include "runtime/handles_win32.h"
#include "runtime/input_file.h"
#include "runtime/long_path_win32.h"
#include "runtime/paths.h"
#include "runtime/scratch_file_native_win32.h"

namespace runtime {

struct InputFile::Native {
    std::string path;
    std::uint64_t size = 0;
    FileIdentity identity;
    std::uint32_t permissions = 0666;
    MappingHandle mapping;
    const std::uint8_t* view = nullptr;
    std::uint64_t releasedBefore = 0;

    ~Native() {
        if (view) UnmapViewOfFile(view);
    }
};

namespace {

// Maps the opened file whole; the mapping keeps it open, and its sharing
// with it.
std::unique_ptr<InputFile::Native> mapOpened(FileHandle file, const std::string& path) {
    auto native = std::make_unique<InputFile::Native>();
    native->path = path;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file.get(), &information)) throw lastOSError(path);
    native->identity = identityOf(information);
    if (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) native->permissions = 0444;
    DWORD high = 0;
    const DWORD low = GetFileSize(file.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) throw lastOSError(path);
    native->size = (static_cast<std::uint64_t>(high) << 32) | low;
    // An empty file cannot be mapped; it simply has no bytes.
    if (native->size > 0) {
        native->mapping.reset(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!native->mapping) throw lastOSError(path);
        void* view = MapViewOfFileEx(native->mapping.get(), FILE_MAP_READ, 0, 0, 0, nullptr);
        if (!view) throw lastOSError(path);
        native->view = static_cast<const std::uint8_t*>(view);
    }
    return native;
}

std::unique_ptr<InputFile::Native> openInput(const std::wstring& systemName, const std::string& path,
                                             bool followLinks) {
    // Sharing for reading only: a file that another process holds open for
    // writing cannot be opened, and nobody can change it while it is read.
    // A name found in a listing is opened as itself, not followed, and with
    // backup semantics, which open a folder too: what was put in the file's
    // place since is then seen for what it is below.
    const DWORD flags = followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;
    FileHandle file(CreateFileW(systemName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_READONLY | FILE_FLAG_RANDOM_ACCESS | flags, nullptr));
    if (!file) throw lastOSError(path);
    // What is not a plain file on a disk is refused before a byte is read:
    // a device (a name such as "con" opened as the console), a pipe, a
    // folder, or, where links are not followed, a link or junction.
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK) throw NotAFileError(path);
    if (!GetFileInformationByHandle(file.get(), &information)) throw lastOSError(path);
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (!followLinks && (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))) {
        throw NotAFileError(path);
    }
    return mapOpened(std::move(file), path);
}

}  // namespace

InputFile::InputFile(const std::string& path) : native_(openInput(systemPath(path), path, true)) {}

InputFile::InputFile(const Folder& folder, const std::string& name)
    : native_(openInput(exactSystemPath(joinPath(folder.native().exact, name)), joinPath(folder.path(), name), false)) {
}

InputFile::InputFile(ScratchFile scratch, const std::string& path, std::optional<SourceFile> origin)
    : native_(mapOpened(std::move(scratch.native().handle), path)) {
    // A scratch file is private whatever its data: the data's own file
    // decides.
    if (origin) {
        native_->identity = origin->identity;
        native_->permissions = origin->permissions;
    }
}

InputFile::~InputFile() = default;

std::uint64_t InputFile::size() const { return native_->size; }

FileIdentity InputFile::identity() const { return native_->identity; }

std::uint32_t InputFile::permissions() const { return native_->permissions; }

std::uint64_t InputFile::read(std::uint64_t offset, std::uint64_t length, std::uint8_t* destination) {
    if (offset >= native_->size) return 0;
    length = std::min(length, native_->size - offset);
    std::memcpy(destination, native_->view + offset, static_cast<std::size_t>(length));
    return length;
}

const std::uint8_t* InputFile::view(std::uint64_t offset, std::uint64_t) {
    return native_->view ? native_->view + offset : nullptr;
}

void InputFile::release(std::uint64_t before) noexcept {
    if (!native_->view || before <= native_->releasedBefore) return;
    // Unlocking pages that are not locked takes them out of the working set.
    VirtualUnlock(const_cast<std::uint8_t*>(native_->view + native_->releasedBefore),
                  static_cast<SIZE_T>(before - native_->releasedBefore));
    native_->releasedBefore = before;
}

void InputFile::prefetch(std::uint64_t offset, std::uint64_t length) noexcept {
    if (!native_->view || offset >= native_->size) return;
    // PrefetchVirtualMemory came with Windows 8; on 7 the pages are read as
    // they are touched.
    struct MemoryRange {
        void* address;
        SIZE_T bytes;
    };
    using Prefetch = BOOL(WINAPI*)(HANDLE, ULONG_PTR, MemoryRange*, ULONG);
    static const auto prefetchMemory = reinterpret_cast<Prefetch>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "PrefetchVirtualMemory")));
    if (!prefetchMemory) return;
    MemoryRange range{const_cast<std::uint8_t*>(native_->view + offset),
                      static_cast<SIZE_T>(std::min(length, native_->size - offset))};
    (void)prefetchMemory(GetCurrentProcess(), 1, &range, 0);
}

// The file is shared for reading only while it is mapped: nothing can
// change it.
bool InputFile::unchanged() const { return true; }

void InputFile::close() {
    const std::uint8_t* view = std::exchange(native_->view, nullptr);
    if (view && !UnmapViewOfFile(view)) throw lastOSError(native_->path);
    const HANDLE mapping = native_->mapping.release();
    if (mapping && !CloseHandle(mapping)) throw lastOSError(native_->path);
}

}  // namespace runtime
