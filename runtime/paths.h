#pragma once
// Path rules shared by the engine and the window's actions. They are pure text
// functions: Windows style joins with "\" and accepts "/" on input, knows
// drive letters, network paths ("\\server\share\", whose server and share
// belong to the root) and the device prefixes "\\.\" and "\\?\" (with
// the device, "C:" or "UNC\server\share", in the root); POSIX style knows
// only "/". Both normalise the same way: separators become the preferred one,
// doubled separators collapse, "." components disappear and ".." removes the
// component before it where there is one (otherwise it stays).
//
// A "\\?\" path is the exception: the system hands it to the file system
// as written, so only "\" separates there ("/" belongs to a name) and "."
// and ".." stay, since resolving them here (past a link, say) could name
// another file than the system would open. Its doubled and trailing
// separators still collapse: an empty name names no file at all.

#include <string>
#include <string_view>

namespace runtime {

enum class PathStyle { windows, posix };

#ifdef _WIN32
inline constexpr PathStyle nativePathStyle = PathStyle::windows;
#else
inline constexpr PathStyle nativePathStyle = PathStyle::posix;
#endif

char preferredSeparator(PathStyle style = nativePathStyle);
bool isSeparator(char c, PathStyle style = nativePathStyle);

// True when the path begins with a separator (so also "\\server", "\\.\"
// and "\\?\") or (Windows) a letter and ":".
bool isAbsolutePath(std::string_view path, PathStyle style = nativePathStyle);

// The normalised form; a trailing separator is dropped except after a root.
std::string normalizePath(std::string_view path, PathStyle style = nativePathStyle);

// a and b joined by one separator, normalised. An empty a gives b normalised.
// b is read as plain text (names, a relative path) even when a is "\\?\".
std::string joinPath(std::string_view a, std::string_view b, PathStyle style = nativePathStyle);

// The root of the normalised path: "C:\", "C:", "\", "/", "\\server\share\",
// "\\?\C:\", "\\.\UNC\server\share\"... or empty for a relative one.
std::string rootPart(std::string_view path, PathStyle style = nativePathStyle);

// Everything before the last separator of the normalised path. A path that
// sits directly in a root keeps that root ("C:\", "\", "/", "\\?\C:\",
// "\\server\share\"), so that joining a name to it stays beside the input.
std::string folderPart(std::string_view path, PathStyle style = nativePathStyle);

// The last component of the normalised path (trailing separators ignored).
std::string lastComponent(std::string_view path, PathStyle style = nativePathStyle);

// The path unchanged when absolute, else joined to the given current folder.
std::string absolutePath(std::string_view path, std::string_view currentFolder, PathStyle style = nativePathStyle);

// The "\\?\" form of a Windows path that names its file whatever the
// system's rules for plain paths (MAX_PATH, device names such as "con.bin",
// trailing dots): a drive, network or "\\.\" path normalised and prefixed
// ("\\server\share\x" gives "\\?\UNC\server\share\x"), a "\\?\" path
// as it is. Empty for a path the long form cannot spell: relative, rooted
// without a drive, or with a ".." left at its root.
std::string verbatimPath(std::string_view path);

}  // namespace runtime
