#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>

#include "runtime/c_file.h"
#include "runtime/errors.h"
#include "runtime/long_path_win32.h"
#include "runtime/output_file.h"
#include "runtime/stop_cleanup.h"
#include "runtime/temporary_name.h"

namespace runtime {

struct OutputFile::Native {
    CFile file;
    std::FILE* stream = nullptr;  // the file's, or standard output
    std::string path;
    std::string temporary;
    std::optional<TemporaryFileEntry> entry;
    std::optional<FileIdentity> replaced;
};

namespace {

// Refuses what writing the file in place would have refused: a folder, or
// a read-only file (which the move would also refuse, after all the work).
void checkReplaceable(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(systemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
        throw osErrorFromCode(ERROR_ACCESS_DENIED, path);
    }
}

// Creates the temporary file exclusively. Shared for deletion, so that a
// stop request can remove it while it is still being written.
HANDLE createTemporary(const std::string& temporary) {
    return CreateFileW(systemPath(temporary).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The C runtime stream over the handle, which it then owns.
CFile streamOver(HANDLE handle, const std::string& path) {
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(handle);
        throw osErrorFromCode(ERROR_INVALID_HANDLE, path);
    }
    CFile file(_fdopen(descriptor, "wb"));
    if (!file) {
        _close(descriptor);
        throw osErrorFromCode(ERROR_INVALID_HANDLE, path);
    }
    // Everything arrives in large pieces; a stream buffer would only split
    // them and copy their edges once more.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    return file;
}

}  // namespace

OutputFile::OutputFile(const std::string& path) : native_(std::make_unique<Native>()) {
    native_->path = path;
    checkReplaceable(path);
    native_->replaced = fileIdentity(path);
    for (int attempt = 0;; ++attempt) {
        std::string temporary = temporaryNameBeside(path);
        const HANDLE handle = createTemporary(temporary);
        if (handle != INVALID_HANDLE_VALUE) {
            native_->temporary = std::move(temporary);
            native_->entry.emplace(native_->temporary);
            native_->file = streamOver(handle, path);
            native_->stream = native_->file.get();
            return;
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 100) {
            throw osErrorFromCode(error, path);
        }
    }
}

OutputFile::OutputFile(StandardOutput) : native_(std::make_unique<Native>()) {
    native_->path = "standard output";
    _setmode(_fileno(stdout), _O_BINARY);
    native_->stream = stdout;
    native_->replaced = standardOutputIdentity();
}

const std::optional<FileIdentity>& OutputFile::replaces() const { return native_->replaced; }

OutputFile::~OutputFile() {
    native_->file.reset();
    if (!native_->temporary.empty()) DeleteFileW(systemPath(native_->temporary).c_str());
}

void OutputFile::reserve(std::uint64_t size) noexcept {
    if (!native_->file) return;  // standard output
    // The allocation, not the end of the file: that stays at the bytes written.
    FILE_ALLOCATION_INFO allocation{};
    allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(native_->stream)));
    (void)SetFileInformationByHandle(handle, FileAllocationInfo, &allocation, sizeof allocation);
}

void OutputFile::write(const void* bytes, std::uint64_t count) {
    const auto* at = static_cast<const std::uint8_t*>(bytes);
    // Pieces of 256 KiB, as on the other platforms: some systems build the
    // file from large cache pages when writes are larger, which is slower.
    constexpr std::uint64_t piece = std::uint64_t{256} << 10;
    while (count > 0) {
        const auto size = static_cast<std::size_t>(std::min(count, piece));
        errno = 0;
        if (std::fwrite(at, 1, size, native_->stream) != size) throw writeError(errno ? errno : EIO);
        at += size;
        count -= size;
    }
}

void OutputFile::commit() {
    errno = 0;
    if (!native_->stream) throw InternalError("an output was committed twice: " + native_->path);
    if (!native_->file) {
        native_->stream = nullptr;
        if (std::fflush(native_->stream) != 0) throw writeError(errno ? errno : EIO);
        return;
    }
    native_->stream = nullptr;
    if (!native_->file.closeChecked()) throw writeError(errno ? errno : EIO);
    if (!MoveFileExW(systemPath(native_->temporary).c_str(), systemPath(native_->path).c_str(),
                     MOVEFILE_REPLACE_EXISTING)) {
        throw lastOSError(native_->path);
    }
    native_->temporary.clear();
    native_->entry.reset();
}

}  // namespace runtime
