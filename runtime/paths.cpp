#include "runtime/paths.h"

#include <algorithm>
#include <vector>

namespace runtime {

namespace {

bool isDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool hasDrivePrefix(std::string_view path, PathStyle style) {
    return style == PathStyle::windows && path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':';
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

// "\\?\" exactly: the system hands the rest to the file system as written.
bool isVerbatimPrefix(std::string_view path, PathStyle style) {
    return style == PathStyle::windows && path.substr(0, 4) == "\\\\?\\";
}

// Two separators, "." or "?", and a separator (or the end): a device path
// that the system still normalises ("\\.\", and "\\?\" spelt with a "/").
bool isDevicePrefix(std::string_view path, PathStyle style) {
    return style == PathStyle::windows && path.size() >= 3 && isSeparator(path[0], style) &&
           isSeparator(path[1], style) && (path[2] == '.' || path[2] == '?') &&
           (path.size() == 3 || isSeparator(path[3], style));
}

enum class RootKind { none, driveRelative, drive, rooted, network, device, verbatim };

// The root of a path ("C:\", "C:", "\", "/", "\\server\share\", "\\.\C:\",
// "\\?\UNC\server\share\"...), in normalised form, and the length of the
// input it covers, separators after it included. A root ends in a separator
// exactly when the input had one after it.
struct Root {
    std::string text;
    std::size_t length = 0;
    RootKind kind = RootKind::none;
};

// Reads a path component by component, with the separators of its style.
class PathReader {
public:
    PathReader(std::string_view path, PathStyle style, bool verbatim)
        : path_(path), style_(style), verbatim_(verbatim) {}

    std::size_t position() const { return i_; }
    void skip(std::size_t count) { i_ += count; }

    // In a verbatim path only "\" separates: "/" is part of a name there.
    bool separatorAt(std::size_t at) const {
        return at < path_.size() && (verbatim_ ? path_[at] == '\\' : isSeparator(path_[at], style_));
    }

    std::size_t skipSeparators() {
        const std::size_t start = i_;
        while (separatorAt(i_)) ++i_;
        return i_ - start;
    }

    std::string_view component() {
        const std::size_t start = i_;
        while (i_ < path_.size() && !separatorAt(i_)) ++i_;
        return path_.substr(start, i_ - start);
    }

    // The next component, after the separators before it.
    std::string_view nextComponent() {
        skipSeparators();
        return component();
    }

private:
    std::string_view path_;
    PathStyle style_;
    bool verbatim_;
    std::size_t i_ = 0;
};

// A root that ends after named parts (a server and share, a device): it takes
// one separator when the input goes on with one.
Root namedRoot(std::string text, PathReader& reader, char sep, RootKind kind) {
    if (reader.skipSeparators() > 0) text += sep;
    return {std::move(text), reader.position(), kind};
}

// "\\?\C:\", "\\?\UNC\server\share\", "\\.\pipe\", "\\.\COM1": the prefix
// and what names the device belong to the root, so that ".." never climbs
// out of it and folderPart stops there.
Root deviceRoot(std::string_view path, PathStyle style) {
    const bool verbatim = isVerbatimPrefix(path, style);
    const char sep = preferredSeparator(style);
    PathReader reader(path, style, verbatim);
    reader.skip(std::min<std::size_t>(path.size(), 4));
    // Any spelling of the device prefix that is not verbatim means "\\.\".
    std::string text = verbatim ? "\\\\?\\" : "\\\\.\\";
    const std::string_view device = reader.nextComponent();
    const RootKind kind = verbatim ? RootKind::verbatim : RootKind::device;
    if (device.empty()) return {std::move(text), reader.position(), kind};
    text += device;
    if (equalsIgnoringCase(device, "UNC") && reader.separatorAt(reader.position())) {
        text += sep;
        text += reader.nextComponent();  // the server
        if (reader.separatorAt(reader.position())) {
            text += sep;
            text += reader.nextComponent();  // the share
        }
    }
    return namedRoot(std::move(text), reader, sep, kind);
}

// "\\server\share\": server and share belong to the root.
Root networkRoot(std::string_view path, PathStyle style) {
    const char sep = preferredSeparator(style);
    PathReader reader(path, style, false);
    reader.skipSeparators();
    std::string text(2, sep);
    const std::string_view server = reader.component();
    if (!server.empty()) {
        text += server;
        if (reader.skipSeparators() > 0) {
            text += sep;
            const std::string_view share = reader.component();
            if (share.empty()) return {std::move(text), reader.position(), RootKind::network};
            text += share;
        }
    }
    return namedRoot(std::move(text), reader, sep, RootKind::network);
}

Root splitRoot(std::string_view path, PathStyle style) {
    if (isVerbatimPrefix(path, style) || isDevicePrefix(path, style)) return deviceRoot(path, style);
    const char sep = preferredSeparator(style);
    Root root;
    std::size_t i = 0;
    if (hasDrivePrefix(path, style)) {
        root.text = path.substr(0, 2);
        root.kind = RootKind::driveRelative;
        i = 2;
    }
    std::size_t separators = 0;
    while (i + separators < path.size() && isSeparator(path[i + separators], style)) ++separators;
    if (separators >= 2 && i == 0 && style == PathStyle::windows) return networkRoot(path, style);
    if (separators > 0) {
        root.text += sep;
        root.kind = i == 0 ? RootKind::rooted : RootKind::drive;
    }
    root.length = i + separators;
    return root;
}

// The components of what follows a root. Doubled separators collapse
// everywhere: an empty name names no file, so collapsing one never turns a
// path to one file into a path to another. In a verbatim path "." and ".."
// stay as they are, since the system does not resolve them there either;
// elsewhere "." goes and ".." removes the component before it.
std::vector<std::string_view> components(std::string_view rest, PathStyle style, bool verbatim,
                                         std::vector<std::string_view> parts = {}) {
    PathReader reader(rest, style, verbatim);
    while (reader.position() < rest.size()) {
        const std::string_view part = reader.nextComponent();
        if (part.empty() || (!verbatim && part == ".")) {
            // collapsed separator or current-folder component
        } else if (!verbatim && part == ".." && !parts.empty() && parts.back() != "..") {
            parts.pop_back();
        } else {
            parts.push_back(part);
        }
    }
    return parts;
}

std::string assemble(std::string root, const std::vector<std::string_view>& parts, PathStyle style) {
    bool first = true;
    for (std::string_view part : parts) {
        if (!first) root += preferredSeparator(style);
        root += part;
        first = false;
    }
    return root;
}

}  // namespace

char preferredSeparator(PathStyle style) { return style == PathStyle::windows ? '\\' : '/'; }

bool isSeparator(char c, PathStyle style) { return c == '/' || (style == PathStyle::windows && c == '\\'); }

bool isAbsolutePath(std::string_view path, PathStyle style) {
    return (!path.empty() && isSeparator(path[0], style)) || hasDrivePrefix(path, style);
}

std::string normalizePath(std::string_view path, PathStyle style) {
    const Root root = splitRoot(path, style);
    return assemble(root.text, components(path.substr(root.length), style, root.kind == RootKind::verbatim), style);
}

std::string joinPath(std::string_view a, std::string_view b, PathStyle style) {
    if (a.empty()) return normalizePath(b, style);
    const Root root = splitRoot(a, style);
    const auto inA = components(a.substr(root.length), style, root.kind == RootKind::verbatim);
    std::string text = root.text;
    // The separator joined to a bare root stays after it: "C:" and "x" give
    // "C:\x", and "\\server\share" and "x" give "\\server\share\x".
    if (root.length == a.size() && !text.empty() && !isSeparator(text.back(), style)) text += preferredSeparator(style);
    // b is a name or a relative path the program was given, read as plain
    // text even below a verbatim a.
    return assemble(std::move(text), components(b, style, false, inA), style);
}

std::string rootPart(std::string_view path, PathStyle style) { return splitRoot(path, style).text; }

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

std::string verbatimPath(std::string_view path) {
    constexpr PathStyle style = PathStyle::windows;
    const Root root = splitRoot(path, style);
    const bool verbatim = root.kind == RootKind::verbatim;
    const auto parts = components(path.substr(root.length), style, verbatim);
    // A ".." left at the root is resolved by the system, which the long form
    // would not do: such a path stays as it is.
    if (!verbatim && !parts.empty() && parts.front() == "..") return {};
    std::string text;
    switch (root.kind) {
        case RootKind::verbatim:
            text = root.text;
            break;
        case RootKind::drive:
            text = "\\\\?\\" + root.text;
            break;
        case RootKind::device:
            text = "\\\\?\\" + root.text.substr(4);
            break;
        case RootKind::network: {
            // Only a whole "\\server\share" names a folder.
            const std::string_view unc = std::string_view(root.text).substr(2);
            const std::size_t between = unc.find('\\');
            if (between == std::string_view::npos || between == 0 || between + 1 >= unc.size() ||
                unc[between + 1] == '\\') {
                return {};
            }
            text = "\\\\?\\UNC\\" + std::string(unc);
            break;
        }
        case RootKind::none:
        case RootKind::driveRelative:
        case RootKind::rooted:
            return {};
    }
    if (!parts.empty() && text.back() != '\\') text += '\\';
    return assemble(std::move(text), parts, style);
}

}  // namespace runtime
