#pragma once
// wFileDialog: the platform's open-file dialog (GetOpenFileNameW) with the
// explorer look, leaving the current directory unchanged.

#include <memory>
#include <string>
#include <vector>

#include "toolkit/geometry.h"

namespace toolkit {

class wWindow;

// Styles: more than one file; only an existing file can be confirmed.
inline constexpr wStyle wFdMultiple = 0x1;
inline constexpr wStyle wFdFileMustExist = 0x2;

class wFileDialog {
public:
    // wildcard: "pattern" or "description|pattern|description|pattern...".
    // parent may be null (no owner).
    wFileDialog(std::shared_ptr<wWindow> parent, const std::string& message, const std::string& defaultDir = {},
                const std::string& defaultFile = {}, const std::string& wildcard = "*.*", wStyle style = 0);

    // Shows the dialog modal to the parent; true when the user confirmed.
    // Raises OSError when the dialog fails, and rethrows an error raised by
    // a handler while it was open.
    bool showModal();

    // The chosen paths (UTF-8), empty unless confirmed.
    const std::vector<std::string>& paths() const noexcept { return paths_; }
    // The first chosen path, or empty.
    std::string path() const { return paths_.empty() ? std::string() : paths_.front(); }

private:
    std::shared_ptr<wWindow> parent_;
    std::string message_;
    std::string defaultDir_;
    std::string defaultFile_;
    std::string wildcard_;
    wStyle style_;
    std::vector<std::string> paths_;
};

// The filter block GetOpenFileNameW takes (pairs ended by NUL, the list by
// another NUL) for a wildcard; a lone pattern describes itself.
std::wstring fileDialogFilter(const std::string& wildcard);

// The paths in the buffer of a confirmed dialog: a full path, or with
// multiple selection a folder followed by names, NUL-separated.
std::vector<std::string> fileDialogPaths(const std::wstring& buffer);

}  // namespace toolkit
