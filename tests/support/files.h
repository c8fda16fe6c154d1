#pragma once
// Small file helpers for tests. Paths are UTF-8 text.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

std::filesystem::path pathOf(const std::string& utf8);
void writeFile(const std::string& path, const Bytes& bytes);
void writeText(const std::string& path, const std::string& text);
Bytes readFile(const std::string& path);
bool exists(const std::string& path);

// Makes link a symbolic link to target (a folder's when folder). False
// where the system cannot.
bool makeSymbolicLink(const std::string& target, const std::string& link, bool folder = false);

// Deterministic pseudo-random bytes.
Bytes randomBytes(std::size_t count, std::uint32_t seed);

}  // namespace testsupport
