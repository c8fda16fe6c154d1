#pragma once
// Move-only owners of the file-system handles the runtime's Win32 code
// opens, and the identity a handle's file information gives.

// clang-format off
#include <windows.h>
// clang-format on

#include <utility>

#include "runtime/fs.h"

namespace runtime {

template <HANDLE Invalid(), BOOL(WINAPI* Close)(HANDLE)>
class Win32Handle {
public:
    Win32Handle() noexcept = default;
    explicit Win32Handle(HANDLE handle) noexcept : handle_(handle) {}
    ~Win32Handle() { reset(); }
    Win32Handle(Win32Handle&& other) noexcept : handle_(std::exchange(other.handle_, Invalid())) {}
    Win32Handle& operator=(Win32Handle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Invalid()));
        return *this;
    }
    Win32Handle(const Win32Handle&) = delete;
    Win32Handle& operator=(const Win32Handle&) = delete;

    HANDLE get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Invalid(); }
    // Gives up ownership without closing.
    HANDLE release() noexcept { return std::exchange(handle_, Invalid()); }
    void reset(HANDLE handle = Invalid()) noexcept {
        const HANDLE old = std::exchange(handle_, handle);
        if (old != Invalid()) Close(old);
    }

private:
    HANDLE handle_ = Invalid();
};

inline HANDLE invalidFileHandle() noexcept { return INVALID_HANDLE_VALUE; }
inline HANDLE nullHandle() noexcept { return nullptr; }

// CreateFileW's handles are INVALID_HANDLE_VALUE when they failed.
using FileHandle = Win32Handle<invalidFileHandle, CloseHandle>;
// CreateFileMappingW's are null.
using MappingHandle = Win32Handle<nullHandle, CloseHandle>;
using FindHandle = Win32Handle<invalidFileHandle, FindClose>;

inline FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& information) {
    return {information.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

}  // namespace runtime
