#pragma once
// Helpers for tests that read the resources linked into their own executable.

// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
// clang-format on

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace resourcestest {

// The bytes of a resource of this executable; empty when it is missing.
inline std::span<const std::uint8_t> ownResource(LPCWSTR type, LPCWSTR name) {
    const HMODULE self = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(self, name, type);
    if (!found) return {};
    const HGLOBAL loaded = LoadResource(self, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const std::uint8_t*>(bytes), SizeofResource(self, found)};
}

// The icon group's entries as the resource stores them: 2-byte packing, and
// the image's resource id in place of the .ico file's offset.
#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;  // 0 means 256
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInResource;
    WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14);

// The entries of the RT_GROUP_ICON resource; empty when it is missing or
// malformed (reserved 0, type 1, and as many bytes as the count says).
inline std::vector<GroupIconEntry> groupEntries(std::span<const std::uint8_t> group) {
    if (group.size() < 6) return {};
    const auto word = [&](std::size_t at) { return static_cast<unsigned>(group[at] | group[at + 1] << 8); };
    const unsigned count = word(4);
    if (word(0) != 0 || word(2) != 1 || group.size() != 6 + count * sizeof(GroupIconEntry)) return {};
    std::vector<GroupIconEntry> entries(count);
    std::memcpy(entries.data(), group.data() + 6, count * sizeof(GroupIconEntry));
    return entries;
}

class OwnedIcon {
public:
    explicit OwnedIcon(HICON icon = nullptr) : icon_(icon) {}
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    OwnedIcon(OwnedIcon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
    ~OwnedIcon() {
        if (icon_) DestroyIcon(icon_);
    }
    HICON get() const { return icon_; }
    HICON* out() { return &icon_; }

private:
    HICON icon_;
};

class OwnedLibrary {
public:
    explicit OwnedLibrary(const wchar_t* name) : module_(LoadLibraryW(name)) {}
    OwnedLibrary(const OwnedLibrary&) = delete;
    OwnedLibrary& operator=(const OwnedLibrary&) = delete;
    ~OwnedLibrary() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

struct IconSize {
    long width = 0, height = 0;
};

// The size of the icon's colour image (of its mask when it has none: then
// the mask holds both halves, one above the other).
inline IconSize iconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {};
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    IconSize size{bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return size;
}

// Draws an icon on a square of the background colour, through its mask and
// alpha, and gives back the result, top row first, as 0x00RRGGBB.
inline std::vector<std::uint32_t> drawOn(HICON icon, int size, std::uint32_t background) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP target = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint32_t> pixels;
    if (dc && target) {
        auto* data = static_cast<std::uint32_t*>(bits);
        std::fill(data, data + size * size, background);
        const HGDIOBJ previous = SelectObject(dc, target);
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        GdiFlush();
        pixels.assign(data, data + size * size);
        for (auto& p : pixels) p &= 0xFFFFFF;
        SelectObject(dc, previous);
    }
    if (target) DeleteObject(target);
    if (dc) DeleteDC(dc);
    return pixels;
}

// A function exported by a loaded library, or null. The detour through a
// function type without parameters is the sanctioned way past the warning on
// casts between function types.
template <class Function>
Function exported(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

inline std::wstring ownPath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

}  // namespace resourcestest
