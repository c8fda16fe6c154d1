#pragma once
// wDirDialog: the platform's common item dialog in folder-picking mode, for
// file-system folders only.

#include <memory>
#include <string>

#include "toolkit/geometry.h"

namespace toolkit {

class wWindow;

class wDirDialog {
public:
    // parent may be null (no owner); an empty defaultPath leaves the
    // starting folder to the platform. No styles are defined yet.
    wDirDialog(std::shared_ptr<wWindow> parent, const std::string& message, const std::string& defaultPath = {},
               wStyle style = 0);

    // Shows the dialog modal to the parent; true when the user confirmed.
    // Raises OSError when the dialog fails, and rethrows an error raised by
    // a handler while it was open.
    bool showModal();

    // The chosen folder (UTF-8), empty unless confirmed.
    const std::string& path() const noexcept { return path_; }

private:
    std::shared_ptr<wWindow> parent_;
    std::string message_;
    std::string defaultPath_;
    std::string path_;
};

}  // namespace toolkit
