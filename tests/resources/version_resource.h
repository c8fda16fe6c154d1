#pragma once
// Reads an executable's version resource the way Windows does for its
// Properties > Details page: GetFileVersionInfoW, then VerQueryValueW.
// Link with the version library.

// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <winver.h>
// clang-format on

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resourcestest {

class VersionResource {
public:
    // The file's version resource; nothing when it has none.
    static std::optional<VersionResource> of(const std::wstring& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (size == 0) return std::nullopt;
        VersionResource resource;
        resource.block_.resize(size);
        if (!GetFileVersionInfoW(path.c_str(), 0, size, resource.block_.data())) return std::nullopt;
        return resource;
    }

    // The fixed part; nothing when it is missing or lacks its signature.
    std::optional<VS_FIXEDFILEINFO> fixed() const {
        const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value(L"\\"));
        if (!info || info->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
        return *info;
    }

    // A string of the US English table (040904B0); nothing when missing.
    std::optional<std::wstring> text(const std::wstring& name) const {
        UINT length = 0;
        const auto* chars = static_cast<const wchar_t*>(value(L"\\StringFileInfo\\040904B0\\" + name, &length));
        if (!chars) return std::nullopt;
        std::wstring result(chars, length);
        while (!result.empty() && result.back() == L'\0') result.pop_back();
        return result;
    }

    // The language and code page pairs the resource says it holds.
    std::vector<std::uint32_t> translations() const {
        UINT length = 0;
        const auto* pairs = static_cast<const WORD*>(value(L"\\VarFileInfo\\Translation", &length));
        std::vector<std::uint32_t> result;
        for (UINT i = 0; pairs && i + 1 < length / sizeof(WORD); i += 2)
            result.push_back(std::uint32_t{pairs[i]} << 16 | pairs[i + 1]);
        return result;
    }

private:
    const void* value(const std::wstring& subBlock, UINT* length = nullptr) const {
        void* found = nullptr;
        UINT size = 0;
        if (!VerQueryValueW(block_.data(), subBlock.c_str(), &found, &size)) return nullptr;
        if (length) *length = size;
        return found;
    }

    std::vector<std::uint8_t> block_;
};

// "a.b.c.d" from the two halves of a version in the fixed part.
inline std::string versionNumbers(DWORD mostSignificant, DWORD leastSignificant) {
    return std::to_string(HIWORD(mostSignificant)) + "." + std::to_string(LOWORD(mostSignificant)) + "." +
           std::to_string(HIWORD(leastSignificant)) + "." + std::to_string(LOWORD(leastSignificant));
}

}  // namespace resourcestest
