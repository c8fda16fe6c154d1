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

// The UTF-16 form of path for a file-system call.
inline std::wstring systemPath(std::string_view path) {
    if (path.size() < plainPathLimit || !isAbsolutePath(path) || path.rfind("\\\\?\\", 0) == 0) return widen(path);
    // The long form takes no "." or ".." and only backslashes.
    const std::string normal = normalizePath(path);
    if (normal.rfind("\\\\", 0) == 0) return L"\\\\?\\UNC\\" + widen(std::string_view(normal).substr(2));
    if (normal.size() >= 2 && normal[1] == ':') return L"\\\\?\\" + widen(normal);
    return widen(normal);  // rooted without a drive: leave it to the system
}

// The "\\?\" form of an absolute path, whatever its length: for names the
// program read from a listing or made itself, which must reach that very
// file ("con.bin" a file, not the console; a trailing dot kept).
inline std::wstring exactSystemPath(std::string_view path) {
    if (!isAbsolutePath(path) || path.rfind("\\\\?\\", 0) == 0) return widen(path);
    const std::string normal = normalizePath(path);
    if (normal.rfind("\\\\", 0) == 0) return L"\\\\?\\UNC\\" + widen(std::string_view(normal).substr(2));
    if (normal.size() >= 2 && normal[1] == ':') return L"\\\\?\\" + widen(normal);
    return widen(normal);
}

}  // namespace runtime
