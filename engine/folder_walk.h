#pragma once
// The walk of a folder that every folder conversion takes: depth-first,
// every file below it, links neither taken nor followed.

#include <memory>
#include <string>

namespace runtime {
class Folder;
}  // namespace runtime

namespace engine {

// What a walk meets, told as it goes.
class FolderVisitor {
public:
    virtual ~FolderVisitor() = default;
    // A plain file: its name in folder. False stops the walk.
    virtual bool file(const std::shared_ptr<const runtime::Folder>& folder, const std::string& name) = 0;
    // A folder that cannot be listed or opened, and its line. False stops
    // the walk.
    virtual bool unreadable(const std::string& path, const std::string& line) = 0;
    // A link, a pipe, a device or a socket, or a folder that is no longer
    // one when opened: neither taken nor followed.
    virtual void special() = 0;
};

// Walks the folder root and everything below it, depth-first with an
// explicit stack, so depth is bounded by memory only: a folder's files go
// to the visitor while it is listed, then its subfolders, the one listed
// last first. Subfolders are opened relative to their parents, never
// through a link. Returns false when the visitor stopped the walk.
bool walkFolder(std::shared_ptr<const runtime::Folder> root, FolderVisitor& visitor);

}  // namespace engine
