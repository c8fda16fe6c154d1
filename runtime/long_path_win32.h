#pragma once
// Paths as the Win32 file calls take them. An absolute path that a plain call
// could not reach (MAX_PATH, 260 characters) gets the "\\?\" form, which
// reaches any length the file system allows; shorter ones stay as they are,
// so that what users see in messages and dialogs does not change.

// clang-format off
#include <windows.h>
// clang-format on

#include <string>
#include <string_view>

#include "runtime/paths.h"
#include "runtime/text.h"

namespace runtime {

// Room left below MAX_PATH for a name appended by the call itself (the "*"
// of a listing, the 8.3 name of a folder being created).
inline constexpr std::size_t plainPathLimit = MAX_PATH - 12;

// The UTF-16 form of path for a file-system call. A "\\?\" path is
// passed as it is, never prefixed twice.
inline std::wstring systemPath(std::string_view path) {
    if (path.size() < plainPathLimit || !isAbsolutePath(path)) return widen(path);
    const std::string longForm = verbatimPath(path);
    // Rooted without a drive, or a ".." at the root: left to the system.
    return widen(longForm.empty() ? normalizePath(path) : longForm);
}

// The full path the system makes of path (its own rules for plain paths
// applied), or nothing when it cannot.
inline std::wstring fullPathName(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return {};
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);  // too small: the length needed, its null included
    }
}

// The "\\?\" form of a path, whatever its length: for names the program
// read from a listing or made itself, which must reach that very file
// ("con.bin" a file, not the console; a trailing dot kept). A path that is
// not fully qualified ("\x", "C:x", relative) gets the drive or folder the
// system gives its root, which holds none of the path's own names.
inline std::wstring exactSystemPath(std::string_view path) {
    std::string longForm = verbatimPath(path);
    if (longForm.empty()) {
        const std::string root = rootPart(path);
        const std::wstring full = fullPathName(widen(root.empty() ? "." : root));
        const std::string normal = normalizePath(path);
        if (!full.empty()) {
            longForm = verbatimPath(joinPath(narrow(full), std::string_view(normal).substr(root.size())));
        }
        if (longForm.empty()) return systemPath(path);
    }
    return widen(longForm);
}

}  // namespace runtime
