#pragma once
// A folder opened for a walk: its entries, and the files and subfolders in
// it reached by name. On POSIX everything is reached relative to the open
// folder, and on Windows through the long path form, so a walk goes as deep
// as the file system allows whatever the length of the whole path.
// folder_posix.cpp and folder_win32.cpp hold the two platforms' calls.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/fs.h"

namespace runtime {

// One entry of a folder listing. Links (reparse points on Windows) and, on
// POSIX, other special files are neither files nor folders here.
struct FolderEntry {
    enum class Kind { file, folder, link } kind;
    std::string name;
};

class Folder {
public:
    // Opens the folder at path, following links. Raises OSError with the
    // path as detail.
    explicit Folder(const std::string& path);
    // Opens the subfolder name of parent, not following a link. Raises
    // NotAFileError when it is no longer a folder (a link or a file has
    // taken its name), OSError with the subfolder's path as detail.
    Folder(const Folder& parent, const std::string& name);
    ~Folder();
    Folder(Folder&&) noexcept;
    Folder& operator=(Folder&&) noexcept;

    // The path the folder was opened by (joined with the names on the way).
    const std::string& path() const;

    FileIdentity identity() const;

    // Size in bytes of the file name in this folder, from its directory
    // entry, not following a link. Raises NotAFileError when it is not a
    // plain file (any more), OSError with the file's path as detail.
    std::uint64_t fileSize(const std::string& name) const;

    struct Native;
    const Native& native() const { return *native_; }

private:
    std::unique_ptr<Native> native_;
};

// Lists one folder in the platform's order, "." and ".." left out.
class FolderListing {
public:
    // Starts the listing. Raises OSError with the folder's path as detail
    // when it cannot be listed.
    explicit FolderListing(const Folder& folder);
    ~FolderListing();
    FolderListing(const FolderListing&) = delete;
    FolderListing& operator=(const FolderListing&) = delete;

    // The next entry, or nothing at the end. Raises OSError with the
    // folder's path as detail when the listing breaks off with an error.
    std::optional<FolderEntry> next();

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace runtime
