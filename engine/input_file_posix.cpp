#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "engine/input_file.h"
#include "runtime/errors.h"

namespace engine {

namespace {

// Inputs up to this size are read rather than mapped. Unmapping a view in a
// process whose other threads are running makes the system interrupt every
// processor to flush its address cache, which on a virtual machine costs
// more than reading a few pages.
constexpr std::uint64_t readInsteadOfMapBytes = 64 * 1024;

}  // namespace

struct InputFile::Handles {
    int descriptor = -1;
    std::uint64_t size = 0;
    void* view = nullptr;                  // a mapped view, or
    std::unique_ptr<std::uint8_t[]> copy;  // the bytes of a small input
    std::uint64_t releasedBefore = 0;
    std::string path;

    void closeDescriptor() {
        if (descriptor >= 0) ::close(descriptor);
        descriptor = -1;
    }
};

InputFile::InputFile(const std::string& path) : handles_(std::make_unique<Handles>()) {
    handles_->path = path;
    // O_NONBLOCK keeps a pipe given as input from blocking the open; it has
    // no effect on the plain files that are accepted below.
    handles_->descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (handles_->descriptor < 0) throw runtime::lastOSError(path);
    struct stat info {};
    if (::fstat(handles_->descriptor, &info) != 0) {
        const runtime::OSError error = runtime::lastOSError(path);
        handles_->closeDescriptor();
        throw error;
    }
    if (!S_ISREG(info.st_mode)) {
        handles_->closeDescriptor();
        throw runtime::osErrorFromCode(EINVAL, path);
    }
    handles_->size = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() {
    if (handles_->view) ::munmap(handles_->view, handles_->size);
    handles_->closeDescriptor();
}

std::uint64_t InputFile::size() const { return handles_->size; }

void InputFile::map() {
    if (handles_->size > 0 && handles_->size <= readInsteadOfMapBytes) {
        handles_->copy = std::make_unique<std::uint8_t[]>(handles_->size);
        std::uint64_t done = 0;
        while (done < handles_->size) {
            const ssize_t got = ::pread(handles_->descriptor, handles_->copy.get() + done, handles_->size - done,
                                        static_cast<off_t>(done));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw runtime::lastOSError(handles_->path);
            // The file shrank since it was sized.
            if (got == 0) throw runtime::osErrorFromCode(EIO, handles_->path);
            done += static_cast<std::uint64_t>(got);
        }
    } else if (handles_->size > 0) {
        void* view = ::mmap(nullptr, handles_->size, PROT_READ, MAP_PRIVATE, handles_->descriptor, 0);
        if (view == MAP_FAILED) throw runtime::lastOSError(handles_->path);
        handles_->view = view;
        // Read-ahead pays for large inputs only; for small ones it is a wasted call.
        if (handles_->size > (std::uint64_t{1} << 20)) ::madvise(view, handles_->size, MADV_SEQUENTIAL);
    }
    handles_->closeDescriptor();  // the mapping or the copy holds the bytes
}

const std::uint8_t* InputFile::data() const {
    return handles_->copy ? handles_->copy.get() : static_cast<const std::uint8_t*>(handles_->view);
}

void InputFile::releasePagesBefore(std::uint64_t offset) {
    if (!handles_->view) return;
    const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const std::uint64_t end = std::min(offset, handles_->size) / page * page;
    if (end <= handles_->releasedBefore) return;
    ::madvise(static_cast<char*>(handles_->view) + handles_->releasedBefore, end - handles_->releasedBefore,
              MADV_DONTNEED);
    handles_->releasedBefore = end;
}

void InputFile::readAhead(std::uint64_t offset, std::uint64_t length) {
#ifdef MADV_POPULATE_READ
    if (!handles_->view || offset >= handles_->size) return;
    const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const std::uint64_t begin = offset / page * page;
    const std::uint64_t end = std::min(offset + length, handles_->size);
    // Older systems refuse the advice; then the pages fault in one by one.
    ::madvise(static_cast<char*>(handles_->view) + begin, end - begin, MADV_POPULATE_READ);
#else
    (void)offset;
    (void)length;
#endif
}

void InputFile::close() {
    void* view = handles_->view;
    handles_->view = nullptr;
    handles_->copy.reset();
    handles_->closeDescriptor();
    if (view && ::munmap(view, handles_->size) != 0) throw runtime::lastOSError(handles_->path);
}

}  // namespace engine
