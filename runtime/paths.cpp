#include "runtime/paths.h"

#include <vector>

namespace runtime {

namespace {

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool hasDrivePrefix(std::string_view path, PathStyle style) {
    return style == PathStyle::windows && path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':';
}

// The root of a path ("C:\", "C:", "\\", "\" or "/"), in normalised form, and
// the length of the input it covers (separators after it included).
struct Root {
    std::string text;
    std::size_t length = 0;
};

Root splitRoot(std::string_view path, PathStyle style) {
    const char sep = preferredSeparator(style);
    Root root;
    std::size_t i = 0;
    if (hasDrivePrefix(path, style)) {
        root.text = path.substr(0, 2);
        i = 2;
    }
    std::size_t separators = 0;
    while (i + separators < path.size() && isSeparator(path[i + separators], style)) ++separators;
    if (separators > 0) {
        const bool network = style == PathStyle::windows && i == 0 && separators >= 2;
        root.text += network ? std::string(2, sep) : std::string(1, sep);
    }
    root.length = i + separators;
    return root;
}

std::vector<std::string_view> normalComponents(std::string_view rest, PathStyle style) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !isSeparator(rest[end], style)) ++end;
        const std::string_view part = rest.substr(start, end - start);
        if (part.empty() || part == ".") {
            // collapsed separator or current-folder component
        } else if (part == ".." && !parts.empty() && parts.back() != "..") {
            parts.pop_back();
        } else {
            parts.push_back(part);
        }
        start = end + 1;
    }
    return parts;
}

}  // namespace

char preferredSeparator(PathStyle style) { return style == PathStyle::windows ? '\\' : '/'; }

bool isSeparator(char c, PathStyle style) { return c == '/' || (style == PathStyle::windows && c == '\\'); }

bool isAbsolutePath(std::string_view path, PathStyle style) {
    return (!path.empty() && isSeparator(path[0], style)) || hasDrivePrefix(path, style);
}

std::string normalizePath(std::string_view path, PathStyle style) {
    const Root root = splitRoot(path, style);
    std::string result = root.text;
    bool first = true;
    for (std::string_view part : normalComponents(path.substr(root.length), style)) {
        if (!first) result += preferredSeparator(style);
        result += part;
        first = false;
    }
    return result;
}

std::string joinPath(std::string_view a, std::string_view b, PathStyle style) {
    if (a.empty()) return normalizePath(b, style);
    std::string joined(a);
    joined += preferredSeparator(style);
    joined += b;
    return normalizePath(joined, style);
}

std::string folderPart(std::string_view path, PathStyle style) {
    const std::string normal = normalizePath(path, style);
    const Root root = splitRoot(normal, style);
    const std::size_t last = normal.find_last_of(preferredSeparator(style));
    if (last == std::string::npos || last < root.length) return root.text;
    return normal.substr(0, last);
}

std::string lastComponent(std::string_view path, PathStyle style) {
    const std::string normal = normalizePath(path, style);
    const Root root = splitRoot(normal, style);
    const std::size_t last = normal.find_last_of(preferredSeparator(style));
    const std::size_t start = (last == std::string::npos || last < root.length) ? root.length : last + 1;
    return normal.substr(start);
}

std::string absolutePath(std::string_view path, std::string_view currentFolder, PathStyle style) {
    if (isAbsolutePath(path, style)) return std::string(path);
    return joinPath(currentFolder, path, style);
}

}  // namespace runtime
