#include "toolkit/icon_win32.h"

#include <vector>

#include "runtime/text.h"
#include "toolkit/errors.h"

namespace toolkit {

namespace {

std::wstring ownExecutable() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0) throw wIconError();
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);  // the path was cut: try a longer buffer
    }
}

}  // namespace

wIcon::wIcon(const std::string& file, int index, wSize size) : size_(size) {
    if (size_.width == wDefaultCoordinate) size_.width = GetSystemMetrics(SM_CXSMICON);
    if (size_.height == wDefaultCoordinate) size_.height = GetSystemMetrics(SM_CYSMICON);
    const std::wstring path = file.empty() ? ownExecutable() : runtime::widen(file);
    HICON icon = nullptr;
    const UINT extracted = PrivateExtractIconsW(path.c_str(), index, size_.width, size_.height, &icon, nullptr, 1, 0);
    icon_.reset(icon);
    if (extracted == 0 || extracted == UINT(-1) || !icon_) throw wIconError();
}

}  // namespace toolkit
