#pragma once
// The file-system calls the program makes, behind one small interface. Each
// function has a Windows implementation (fs_win32.cpp, the Win32 calls) and a
// POSIX one (fs_posix.cpp). Paths are UTF-8.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace runtime {

enum class PathKind { none, file, folder };

// What the path names, following links: nothing, a file or a folder.
PathKind pathKind(const std::string& path);

// Size in bytes of the file, read from its directory entry without opening it.
// Raises OSError with the path as detail.
std::uint64_t directoryEntrySize(const std::string& path);

// The process's current folder. Raises OSError.
std::string currentDirectory();

// Full path of the running executable. Raises OSError.
std::string executablePath();

// True when the path can be opened for querying (a file or a folder,
// following links).
bool canOpenForQuery(const std::string& path);

enum class CreateFolderOutcome { created, existedAsFolder, existsAsOther };

// Creates one folder (its parent must exist). Raises OSError with the path as
// detail on any failure other than "already exists".
CreateFolderOutcome createFolder(const std::string& path);

// One entry of a folder listing. Links (reparse points on Windows) and, on
// POSIX, other special files are neither files nor folders here.
struct FolderEntry {
    enum class Kind { file, folder, link } kind;
    std::string name;
};

// Lists one folder, "." and ".." included, in the platform's order.
class FolderListing {
public:
    // Opens the listing; isOpen() is false when the folder cannot be listed.
    explicit FolderListing(const std::string& folder);
    ~FolderListing();
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    bool isOpen() const;

    // The next entry, or nothing at the end. Raises OSError (no detail) when
    // the listing breaks off with an error.
    std::optional<FolderEntry> next();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Opens the file for binary writing with the C runtime ("wb": created, or
// truncated when it exists). Null when it cannot be opened; errno tells why.
std::FILE* openFileForWriting(const std::string& path);

// Processors the platform reports for this process (at least 1).
unsigned processorCount();

}  // namespace runtime
