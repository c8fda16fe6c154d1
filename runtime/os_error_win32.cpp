#include <windows.h>

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

OSError lastOSError(const std::string& detail) { return osErrorFromCode(GetLastError(), detail); }

}  // namespace runtime
