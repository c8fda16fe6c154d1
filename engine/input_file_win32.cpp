#include <windows.h>

#include <algorithm>

#include "engine/input_file.h"
#include "runtime/errors.h"
#include "runtime/text.h"

namespace engine {

struct InputFile::Handles {
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;
    const std::uint8_t* view = nullptr;
    std::uint64_t size = 0;
    std::uint64_t releasedBefore = 0;
    std::string path;

    void closeFile() {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
};

InputFile::InputFile(const std::string& path) : handles_(std::make_unique<Handles>()) {
    handles_->path = path;
    // Sharing for reading only: a file that another process holds open for
    // writing cannot be opened, and nobody can change it while it is read.
    handles_->file = CreateFileW(runtime::widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_READONLY | FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (handles_->file == INVALID_HANDLE_VALUE) throw runtime::lastOSError(path);
    DWORD high = 0;
    const DWORD low = GetFileSize(handles_->file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        const runtime::OSError error = runtime::lastOSError(path);
        handles_->closeFile();
        throw error;
    }
    handles_->size = (static_cast<std::uint64_t>(high) << 32) | low;
}

InputFile::~InputFile() {
    if (handles_->view) UnmapViewOfFile(handles_->view);
    if (handles_->mapping) CloseHandle(handles_->mapping);
    handles_->closeFile();
}

std::uint64_t InputFile::size() const { return handles_->size; }

void InputFile::map() {
    // An empty file cannot be mapped; it simply has no bytes.
    if (handles_->size > 0) {
        handles_->mapping = CreateFileMappingW(handles_->file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (!handles_->mapping) throw runtime::lastOSError(handles_->path);
        void* view = MapViewOfFileEx(handles_->mapping, FILE_MAP_READ, 0, 0, 0, nullptr);
        if (!view) throw runtime::lastOSError(handles_->path);
        handles_->view = static_cast<const std::uint8_t*>(view);
    }
    handles_->closeFile();
}

const std::uint8_t* InputFile::data() const { return handles_->view; }

void InputFile::releasePagesBefore(std::uint64_t offset) {
    const std::uint64_t end = std::min(offset, handles_->size);
    if (!handles_->view || end <= handles_->releasedBefore) return;
    // Unlocking pages that are not locked takes them out of the working set.
    VirtualUnlock(const_cast<std::uint8_t*>(handles_->view + handles_->releasedBefore),
                  static_cast<SIZE_T>(end - handles_->releasedBefore));
    handles_->releasedBefore = end;
}

// Windows has no call that maps pages in ahead of their first touch
// (PrefetchVirtualMemory only reads them, as the read-ahead on a mapped file
// does anyway).
void InputFile::readAhead(std::uint64_t, std::uint64_t) {}

void InputFile::close() {
    const std::uint8_t* view = handles_->view;
    HANDLE mapping = handles_->mapping;
    handles_->view = nullptr;
    handles_->mapping = nullptr;
    handles_->closeFile();
    if (view && !UnmapViewOfFile(view)) {
        const runtime::OSError error = runtime::lastOSError(handles_->path);
        if (mapping) CloseHandle(mapping);
        throw error;
    }
    if (mapping && !CloseHandle(mapping)) throw runtime::lastOSError(handles_->path);
}

}  // namespace engine
