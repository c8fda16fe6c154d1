#include <bit>
#include <cstdint>
#include <vector>

#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/handles_win32.h"
#include "runtime/long_path_win32.h"
#include "runtime/paths.h"

namespace runtime {

PathKind pathKind(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(systemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::none;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::folder : PathKind::file;
}

std::uint64_t directoryEntrySize(const std::string& path) {
    WIN32_FIND_DATAW data{};
    const FindHandle find(FindFirstFileW(systemPath(path).c_str(), &data));
    if (!find) throw lastOSError(path);
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

bool canOpenForQuery(const std::string& path) { return fileIdentity(path).has_value(); }

CreateFolderOutcome createFolder(const std::string& path) {
    const std::wstring wide = systemPath(path);
    if (CreateDirectoryW(wide.c_str(), nullptr)) return CreateFolderOutcome::created;
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS) throw osErrorFromCode(error, path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return CreateFolderOutcome::existedAsFolder;
    return CreateFolderOutcome::existsAsOther;
}

namespace {

// Opens what path names for querying only, following links.
FileHandle openForQuery(const std::string& path) {
    return FileHandle(CreateFileW(systemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

std::optional<FileIdentity> identityOfHandle(const FileHandle& file) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !GetFileInformationByHandle(file.get(), &information)) return std::nullopt;
    return identityOf(information);
}

// The path the system reached the file by, links and junctions resolved.
std::optional<std::string> finalPath(const FileHandle& file) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) return narrow(std::wstring_view(buffer.data(), length));
        buffer.resize(length);
    }
}

}  // namespace

std::optional<FileIdentity> fileIdentity(const std::string& path) { return identityOfHandle(openForQuery(path)); }

bool isInsideFolder(const std::string& path, const FileIdentity& folder) {
    // The nearest part of the path that exists: what is missing below it
    // would be created inside it.
    std::string existing = normalizePath(absolutePath(path, currentDirectory()));
    FileHandle file = openForQuery(existing);
    while (!file) {
        const std::string parent = folderPart(existing);
        if (parent.empty() || parent == existing) return false;
        existing = parent;
        file = openForQuery(existing);
    }
    if (identityOfHandle(file) == folder) return true;
    // Up through the parents of the path the system resolved it to: a
    // junction on the way may lead anywhere. That path is kept in its "\\?\"
    // form, so each parent is the very folder the system named (one called
    // "con" included).
    std::string real = finalPath(file).value_or(existing);
    for (;;) {
        const std::string parent = folderPart(real);
        if (parent.empty() || parent == real) return false;
        real = parent;
        if (fileIdentity(real) == folder) return true;
    }
}

std::optional<FileIdentity> standardOutputIdentity() {
    BY_HANDLE_FILE_INFORMATION information{};
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == INVALID_HANDLE_VALUE || GetFileType(output) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(output, &information)) {
        return std::nullopt;
    }
    return identityOf(information);
}

std::optional<SourceFile> standardInputFile() {
    BY_HANDLE_FILE_INFORMATION information{};
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == INVALID_HANDLE_VALUE || GetFileType(input) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(input, &information)) {
        return std::nullopt;
    }
    return SourceFile{identityOf(information),
                      (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444u : 0666u};
}

bool removeFile(const std::string& path) noexcept { return DeleteFileW(systemPath(path).c_str()) != 0; }

std::string temporaryFolder() {
    wchar_t buffer[MAX_PATH + 2];
    const DWORD length = GetTempPathW(MAX_PATH + 2, buffer);
    if (length == 0 || length > MAX_PATH + 1) throw lastOSError();
    return normalizePath(narrow(std::wstring_view(buffer, length)));
}

unsigned processorCount() {
    // The processors this process may run on (its affinity mask), not all
    // the machine's: more workers than those only take turns. A process
    // whose threads span processor groups has no one mask (both are 0).
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) && process != 0) {
        return static_cast<unsigned>(std::popcount(static_cast<std::uint64_t>(process)));
    }
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? info.dwNumberOfProcessors : 1u;
}

}  // namespace runtime

namespace runtime {

std::optional<std::string> userConfigFolder(const std::string& programName) {
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", buffer, 32768);
    if (length == 0 || length >= 32768) return std::nullopt;
    return joinPath(narrow(std::wstring_view(buffer, length)), programName);
}

std::string resolvedFolderPath(const std::string& path) {
    // "." and ".." are resolved by the system as it opens the path; the
    // final path of what it opened is the folder's real name.
    const FileHandle folder(CreateFileW(systemPath(path).c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) throw lastOSError(path);
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(folder.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) throw lastOSError(path);
        if (length < buffer.size()) {
            std::string real = narrow(std::wstring_view(buffer.data(), length));
            // The plain form where it has one, as the user spells paths.
            if (real.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + real.substr(8);
            if (real.rfind("\\\\?\\", 0) == 0 && real.size() < plainPathLimit + 4) return real.substr(4);
            return real;
        }
        buffer.resize(length);
    }
}

std::string readWholeFile(const std::string& path, std::size_t limit) {
    const FileHandle file(CreateFileW(systemPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) throw lastOSError(path);
    // The kind of what was opened: a console, a pipe or a device would
    // block a read or never end.
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        throw NotAFileError(path);
    }
    std::string content;
    char buffer[64 << 10];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) throw lastOSError(path);
        if (got == 0) return content;
        if (content.size() + got > limit) throw IOError("larger than " + std::to_string(limit) + " bytes: " + path);
        content.append(buffer, got);
    }
}

}  // namespace runtime
