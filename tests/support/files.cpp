#include "tests/support/files.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace testsupport {

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
