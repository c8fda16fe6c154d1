#pragma once
// The file-system calls the program makes, behind one small interface. Each
// function has a Windows implementation (fs_win32.cpp, the Win32 calls) and a
// POSIX one (fs_posix.cpp). Paths are UTF-8.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace runtime {

enum class PathKind { none, file, folder, special };

// What the path names, following links: nothing, a file, a folder, or
// something else (a pipe, a device, a socket).
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

// Which file a path names, following links: the device (volume serial on
// Windows) and the file's number on it. Two paths name the same file exactly
// when their identities are equal, whatever their spelling.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of what path names, or nothing when it cannot be opened.
std::optional<FileIdentity> fileIdentity(const std::string& path);

// The identity of the file standard output writes to, when it is a file.
std::optional<FileIdentity> standardOutputIdentity();

// What an output needs to know of the plain file it is made from.
struct SourceFile {
    FileIdentity identity;
    std::uint32_t permissions = 0666;
};

// Standard input's file, when it is a plain file (a redirection from one).
std::optional<SourceFile> standardInputFile();

// Removes the file; false when that failed.
bool removeFile(const std::string& path) noexcept;

// The folder for temporary files: TMPDIR when it names a folder, else /tmp,
// on POSIX; the user's temporary folder on Windows. Raises OSError.
std::string temporaryFolder();

// The folder for the user's own settings of a program: on POSIX
// $XDG_CONFIG_HOME, else $HOME/.config, joined with the program's name in
// lower case; on Windows %APPDATA% joined with the name as given. Nothing
// when neither is known.
std::optional<std::string> userConfigFolder(const std::string& programName);

// The absolute path of the folder at path as the file system has it, links
// and "." and ".." resolved: the name a folder spelt "." or "d/x/.." really
// has. Raises OSError with the path as detail.
std::string resolvedFolderPath(const std::string& path);

// The whole content of the file at path, read without ever blocking,
// whatever path names. Raises NotAFileError when it is not a plain file (a
// folder, a pipe, a device, a socket), IOError "larger than N bytes: " +
// path when it holds more than limit bytes, and OSError with the path as
// detail when it cannot be opened or read.
std::string readWholeFile(const std::string& path, std::size_t limit);

// True when path, or the nearest of its parents that exists, is the folder
// or lies below it, as the file system places them (links, junctions and ".."
// followed), so that anything created at path would land inside the folder.
bool isInsideFolder(const std::string& path, const FileIdentity& folder);

// Processors the platform reports for this process (at least 1).
unsigned processorCount();

}  // namespace runtime
