#include "runtime/stop_cleanup.h"

#include <mutex>

#include "runtime/fs.h"

namespace runtime {

namespace detail {

namespace {

struct TemporaryFiles {
    std::mutex mutex;
    std::list<std::string> paths;
};

TemporaryFiles& temporaryFiles() {
    static TemporaryFiles files;
    return files;
}

}  // namespace

void removeListedTemporaryFiles() noexcept {
    TemporaryFiles& files = temporaryFiles();
    // Held until the process ends: no entry may go or come meanwhile.
    files.mutex.lock();
    for (const std::string& path : files.paths) removeFile(path);
}

}  // namespace detail

TemporaryFileEntry::TemporaryFileEntry(std::string path) {
    auto& files = detail::temporaryFiles();
    std::lock_guard guard(files.mutex);
    entry_ = files.paths.insert(files.paths.end(), std::move(path));
}

TemporaryFileEntry::~TemporaryFileEntry() {
    auto& files = detail::temporaryFiles();
    std::lock_guard guard(files.mutex);
    files.paths.erase(entry_);
}

}  // namespace runtime
