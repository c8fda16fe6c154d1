#include <fcntl.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "engine/input_file.h"
#include "engine/output_file.h"
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
    // The descriptor stays open, unlike the Windows file handle: the
    // in-kernel copy reads through it.
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

bool InputFile::copyInsideSystem(OutputFile& output) {
    if (handles_->descriptor < 0) return false;
    output.flush();
    const int target = ::fileno(output.stream());
    off_t offset = 0;
    bool anyCopied = false;
    bool useSendfile = false;
    while (static_cast<std::uint64_t>(offset) < handles_->size) {
        const std::size_t wanted = static_cast<std::size_t>(
            std::min<std::uint64_t>(handles_->size - static_cast<std::uint64_t>(offset), std::uint64_t{1} << 30));
        ssize_t copied = useSendfile ? ::sendfile(target, handles_->descriptor, &offset, wanted)
                                     : ::copy_file_range(handles_->descriptor, &offset, target, nullptr, wanted, 0);
        if (copied < 0 && errno == EINTR) continue;
        if (copied < 0 && !anyCopied) {
            // Not every pair of file systems supports copy_file_range;
            // sendfile works between any two files; then give up.
            if (!useSendfile) {
                useSendfile = true;
                continue;
            }
            return false;
        }
        if (copied < 0) throw runtime::writeError(errno);
        // The file shrank since it was sized: the data chunk would be short.
        if (copied == 0) throw runtime::writeError(EIO);
        anyCopied = true;
    }
    return true;
}

void InputFile::close() {
    void* view = handles_->view;
    handles_->view = nullptr;
    handles_->copy.reset();
    handles_->closeDescriptor();
    if (view && ::munmap(view, handles_->size) != 0) throw runtime::lastOSError(handles_->path);
}

}  // namespace engine
