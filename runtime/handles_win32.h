#pragma once
// Owners of the file-system handles the runtime's Win32 code opens, and the
// identity a handle's file information gives.

// clang-format off
#include <windows.h>
// clang-format on

#include "runtime/fs.h"
#include "runtime/unique_handle.h"

namespace runtime {

// CreateFileW's handles are INVALID_HANDLE_VALUE when they failed.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle handle) noexcept { CloseHandle(handle); }
};

// CreateFileMappingW's are null.
struct MappingHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle handle) noexcept { CloseHandle(handle); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle handle) noexcept { FindClose(handle); }
};

using FileHandle = UniqueHandle<FileHandleTraits>;
using MappingHandle = UniqueHandle<MappingHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;

// The error of a name that, once opened, is not the kind of thing a listing
// found there (a file become a folder, a link or a device): the system's own
// code for an operation that does not apply to the object, whose errno,
// EINVAL, is what POSIX raises for it too.
inline constexpr DWORD changedKindError = ERROR_INVALID_FUNCTION;

inline FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& information) {
    return {information.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

}  // namespace runtime
