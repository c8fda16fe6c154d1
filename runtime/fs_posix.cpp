#include <fcntl.h>
#include <limits.h>
#include <sched.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <vector>

#include "runtime/descriptor_posix.h"
#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/identity_posix.h"
#include "runtime/paths.h"

namespace runtime {

PathKind pathKind(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return PathKind::none;
    if (S_ISDIR(info.st_mode)) return PathKind::folder;
    return S_ISREG(info.st_mode) ? PathKind::file : PathKind::special;
}

std::uint64_t directoryEntrySize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) throw lastOSError(path);
    return S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
}

std::string currentDirectory() {
    std::vector<char> buffer(PATH_MAX);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) throw lastOSError();
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::string executablePath() {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) throw lastOSError("/proc/self/exe");
        if (static_cast<std::size_t>(length) < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

bool canOpenForQuery(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

CreateFolderOutcome createFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return CreateFolderOutcome::created;
    if (errno != EEXIST) throw lastOSError(path);
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return CreateFolderOutcome::existedAsFolder;
    return CreateFolderOutcome::existsAsOther;
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return identityOf(info);
}

bool isInsideFolder(const std::string& path, const FileIdentity& folder) {
    // The nearest part of the path that exists: what is missing below it
    // would be created inside it.
    std::string existing = normalizePath(absolutePath(path, currentDirectory()));
    Descriptor at(::open(existing.c_str(), O_RDONLY | O_CLOEXEC | O_PATH));
    while (!at) {
        const std::string parent = folderPart(existing);
        if (parent.empty() || parent == existing) return false;
        existing = parent;
        at.reset(::open(existing.c_str(), O_RDONLY | O_CLOEXEC | O_PATH));
    }
    // Up through the real parents, as the file system has them: a link on
    // the way may lead anywhere, and ".." after it leads up from there.
    struct stat info {};
    if (::fstat(at.get(), &info) != 0) return false;
    for (;;) {
        if (identityOf(info) == folder) return true;
        Descriptor parent(::openat(at.get(), "..", O_RDONLY | O_CLOEXEC | O_PATH | O_DIRECTORY));
        struct stat parentInfo {};
        if (!parent || ::fstat(parent.get(), &parentInfo) != 0) return false;
        if (identityOf(parentInfo) == identityOf(info)) return false;  // the root is its own parent
        at = std::move(parent);
        info = parentInfo;
    }
}

std::optional<FileIdentity> standardOutputIdentity() {
    struct stat info {};
    if (::fstat(STDOUT_FILENO, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return identityOf(info);
}

std::optional<SourceFile> standardInputFile() {
    struct stat info {};
    if (::fstat(STDIN_FILENO, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return SourceFile{identityOf(info), static_cast<std::uint32_t>(info.st_mode & 0777)};
}

bool removeFile(const std::string& path) noexcept { return ::unlink(path.c_str()) == 0; }

std::string temporaryFolder() {
    // A TMPDIR that names no folder is a mistake of the environment, not a
    // reason to fail the run.
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder && pathKind(folder) == PathKind::folder ? folder : "/tmp";
}

std::optional<std::string> userConfigFolder(const std::string& programName) {
    std::string name = programName;
    for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    // Relative values are to be ignored, as the base directory rules say.
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && isAbsolutePath(configHome)) return joinPath(configHome, name);
    const char* home = std::getenv("HOME");
    if (home && isAbsolutePath(home)) return joinPath(joinPath(home, ".config"), name);
    return std::nullopt;
}

std::string resolvedFolderPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    if (!resolved) throw lastOSError(path);
    return resolved.get();
}

std::string readWholeFile(const std::string& path, std::size_t limit) {
    // Without blocking: opening a pipe waits for a writer otherwise, and
    // the kind is checked on what was opened, not on the name before.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file) throw lastOSError(path);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) throw lastOSError(path);
    if (!S_ISREG(info.st_mode)) throw NotAFileError(path);
    std::string content;
    char buffer[64 << 10];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw lastOSError(path);
        if (got == 0) return content;
        if (content.size() + static_cast<std::size_t>(got) > limit) {
            throw IOError("larger than " + std::to_string(limit) + " bytes: " + path);
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

unsigned processorCount() {
    // The processors this process may run on (taskset, a container's
    // cpuset), not all the machine's: more workers than those only take
    // turns. The mask grows until it holds every processor of the system.
    for (std::size_t sets = 1; sets <= 64; sets *= 2) {
        std::vector<cpu_set_t> mask(sets);
        const std::size_t bytes = sets * sizeof(cpu_set_t);
        if (::sched_getaffinity(0, bytes, mask.data()) == 0) {
            const int count = CPU_COUNT_S(bytes, mask.data());
            return count > 0 ? static_cast<unsigned>(count) : 1u;
        }
        if (errno != EINVAL) break;
    }
    const long count = ::sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? static_cast<unsigned>(count) : 1u;
}

}  // namespace runtime
