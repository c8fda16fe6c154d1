#pragma once
// Path rules shared by the engine and the window's actions. They are pure text
// functions: Windows style joins with "\" and accepts "/" on input, knows
// drive letters and keeps a leading "\\" (network paths); POSIX style knows
// only "/". Both normalise the same way: separators become the preferred one,
// doubled separators collapse, "." components disappear and ".." removes the
// component before it where there is one (otherwise it stays).

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

// True when the path begins with a separator or (Windows) a letter and ":".
bool isAbsolutePath(std::string_view path, PathStyle style = nativePathStyle);

// The normalised form; a trailing separator is dropped except after a root.
std::string normalizePath(std::string_view path, PathStyle style = nativePathStyle);

// a and b joined by one separator, normalised. An empty a gives b normalised.
std::string joinPath(std::string_view a, std::string_view b, PathStyle style = nativePathStyle);

// Everything before the last separator of the normalised path. A path that
// sits directly in a root keeps that root ("C:\", "\", "/"), so that joining
// a name to it stays beside the input.
std::string folderPart(std::string_view path, PathStyle style = nativePathStyle);

// The last component of the normalised path (trailing separators ignored).
std::string lastComponent(std::string_view path, PathStyle style = nativePathStyle);

// The path unchanged when absolute, else joined to the given current folder.
std::string absolutePath(std::string_view path, std::string_view currentFolder, PathStyle style = nativePathStyle);

}  // namespace runtime
