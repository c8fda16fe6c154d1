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

// The C runtime's mapping of system errors to errno values, so that a line
// names the same errno for a failure, whichever layer met it. Beyond it,
// three errors the runtime leaves at EINVAL get the errno of their meaning:
// the other disk-full code, a pipe being closed, and the other out-of-memory
// code.
int errnoOf(std::uint32_t systemCode) {
    switch (systemCode) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_NO_MORE_FILES:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return ENOENT;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_ACCESS_DENIED:
        case ERROR_CURRENT_DIRECTORY:
        case ERROR_NETWORK_ACCESS_DENIED:
        case ERROR_CANNOT_MAKE:
        case ERROR_FAIL_I24:
        case ERROR_DRIVE_LOCKED:
        case ERROR_SEEK_ON_DEVICE:
        case ERROR_NOT_LOCKED:
        case ERROR_LOCK_FAILED:
            return EACCES;
        case ERROR_INVALID_HANDLE:
        case ERROR_INVALID_TARGET_HANDLE:
        case ERROR_DIRECT_ACCESS_HANDLE:
            return EBADF;
        case ERROR_ARENA_TRASHED:
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_INVALID_BLOCK:
        case ERROR_NOT_ENOUGH_QUOTA:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_BAD_ENVIRONMENT:
            return E2BIG;
        case ERROR_BAD_FORMAT:
            return ENOEXEC;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_NO_PROC_SLOTS:
        case ERROR_MAX_THRDS_REACHED:
        case ERROR_NESTING_NOT_ALLOWED:
            return EAGAIN;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            return EPIPE;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_WAIT_NO_CHILDREN:
        case ERROR_CHILD_NOT_COMPLETE:
            return ECHILD;
        case ERROR_DIR_NOT_EMPTY:
            return ENOTEMPTY;
        default:
            break;
    }
    // Write protection, drive not ready, sharing and lock violations and the
    // other errors of that block all mean the file may not be used now.
    if (systemCode >= ERROR_WRITE_PROTECT && systemCode <= ERROR_SHARING_BUFFER_EXCEEDED) return EACCES;
    // Errors of an executable image that cannot be loaded.
    if (systemCode >= ERROR_INVALID_STARTING_CODESEG && systemCode <= ERROR_INFLOOP_IN_RELOC_CHAIN) return ENOEXEC;
    // Invalid function, parameter, name, data... and everything else.
    return EINVAL;
}

OSError lastOSError(const std::string& detail) { return osErrorFromCode(GetLastError(), detail); }

}  // namespace runtime
