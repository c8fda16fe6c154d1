#include "tests/support/files.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#endif

namespace testsupport {

bool makeSymbolicLink(const std::string& target, const std::string& link, bool folder) {
#ifdef _WIN32
    // The C++ library of this build has no links; the system call has (and
    // under Wine says it made one that is not there).
    CreateSymbolicLinkW(pathOf(link).c_str(), pathOf(target).make_preferred().c_str(),
                        folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0);
    const DWORD attributes = GetFileAttributesW(pathOf(link).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
#else
    std::error_code error;
    if (folder) {
        std::filesystem::create_directory_symlink(pathOf(target), pathOf(link), error);
    } else {
        std::filesystem::create_symlink(pathOf(target), pathOf(link), error);
    }
    return !error;
#endif
}

std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(pathOf(path), std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeText(const std::string& path, const std::string& text) { writeFile(path, Bytes(text.begin(), text.end())); }

Bytes readFile(const std::string& path) {
    std::ifstream in(pathOf(path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path) { return std::filesystem::exists(pathOf(path)); }

Bytes randomBytes(std::size_t count, std::uint32_t seed) {
    std::mt19937 generator(seed);
    Bytes bytes(count);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(generator());
    return bytes;
}

}  // namespace testsupport
