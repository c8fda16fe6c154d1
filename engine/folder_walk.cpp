#include "engine/folder_walk.h"

#include <vector>

#include "engine/input_failures.h"
#include "runtime/errors.h"
#include "runtime/folder.h"
#include "runtime/paths.h"

namespace engine {

namespace {

// A folder still to be walked: its name in a parent that is kept open until
// all its subfolders are walked, so that no path has to be spelt out whole.
struct PendingFolder {
    std::shared_ptr<const runtime::Folder> parent;
    std::string name;
};

// Lists one folder: its subfolders wait on the stack, its files go to the
// visitor at once while the listing goes on.
bool listFolder(const std::shared_ptr<const runtime::Folder>& folder, std::vector<PendingFolder>& pending,
                FolderVisitor& visitor) {
    try {
        runtime::FolderListing listing(*folder);
        while (const auto entry = listing.next()) {
            switch (entry->kind) {
                case runtime::FolderEntry::Kind::folder:
                    pending.push_back({folder, entry->name});
                    break;
                case runtime::FolderEntry::Kind::file:
                    if (!visitor.file(folder, entry->name)) return false;
                    break;
                case runtime::FolderEntry::Kind::link:
                    visitor.special();
                    break;
            }
        }
    } catch (const runtime::OSError& error) {
        // Whatever the listing did not reach is not taken.
        return visitor.unreadable(folder->path(), couldNotReadLine(folder->path(), error));
    }
    return true;
}

}  // namespace

bool walkFolder(std::shared_ptr<const runtime::Folder> root, FolderVisitor& visitor) {
    std::vector<PendingFolder> pending;
    if (!listFolder(root, pending, visitor)) return false;
    while (!pending.empty()) {
        const PendingFolder next = std::move(pending.back());
        pending.pop_back();
        std::shared_ptr<const runtime::Folder> folder;
        try {
            folder = std::make_shared<const runtime::Folder>(*next.parent, next.name);
        } catch (const runtime::NotAFileError&) {
            visitor.special();  // no longer a folder: a link swapped in, say
            continue;
        } catch (const runtime::OSError& error) {
            const std::string path = runtime::joinPath(next.parent->path(), next.name);
            if (!visitor.unreadable(path, couldNotReadLine(path, error))) return false;
            continue;
        }
        if (!listFolder(folder, pending, visitor)) return false;
    }
    return true;
}

}  // namespace engine
