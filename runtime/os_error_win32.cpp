#include <windows.h>

#include <cerrno>

#include "runtime/errors.h"
#include "runtime/text.h"

namespace runtime {

namespace {

// The system's own text for an error code, without its trailing line break.
std::string systemText(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : L"Unknown error";
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return narrow(text);
}

}  // namespace

OSError osErrorFromCode(std::uint32_t code, const std::string& detail) {
    return OSError(code, systemText(code), detail);
}

int errnoOf(std::uint32_t systemCode) {
    switch (systemCode) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            return EPIPE;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        default:
            return EINVAL;
    }
}

OSError lastOSError(const std::string& detail) { return osErrorFromCode(GetLastError(), detail); }

}  // namespace runtime
