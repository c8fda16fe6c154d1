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
    // Held until the process ends: no file may be made or unlisted meanwhile.
    files.mutex.lock();
    for (const std::string& path : files.paths) removeFile(path);
}

}  // namespace detail

TemporaryFileEntry::TemporaryFileEntry(std::string path, const std::function<bool()>& make) {
    auto& files = detail::temporaryFiles();
    std::lock_guard guard(files.mutex);
    if (!make()) return;
    entry_ = files.paths.insert(files.paths.end(), std::move(path));
    listed_ = true;
}

TemporaryFileEntry::~TemporaryFileEntry() {
    if (!listed_) return;
    auto& files = detail::temporaryFiles();
    std::lock_guard guard(files.mutex);
    files.paths.erase(entry_);
}

}  // namespace runtime
