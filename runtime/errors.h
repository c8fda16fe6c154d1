#pragma once
// The program's typed errors. Each carries a message and the name of its type,
// which the unhandled-error report shows in square brackets.

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>

namespace runtime {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    virtual const char* typeName() const noexcept = 0;
};

// A failed platform call: the platform's error code, its system text and an
// optional detail such as the path the call was about.
class OSError : public Error {
public:
    OSError(std::uint32_t code, const std::string& systemText, const std::string& detail = {});
    std::uint32_t code() const noexcept { return code_; }
    const char* typeName() const noexcept override { return "OSError"; }

private:
    std::uint32_t code_;
};

// A file that cannot be opened or written, or a folder that cannot be made.
class IOError : public Error {
public:
    using Error::Error;
    const char* typeName() const noexcept override { return "IOError"; }
};

// Something that is not a plain file where one is read: a folder, a pipe,
// a device, a socket (or a pseudo-file of the system's, whose size says
// nothing of its content).
class NotAFileError : public IOError {
public:
    explicit NotAFileError(const std::string& path) : IOError("not a regular file: " + path) {}
    const char* typeName() const noexcept override { return "NotAFileError"; }
};

// A link that leads to nothing where a file is to be written through it.
class DanglingLinkError : public IOError {
public:
    explicit DanglingLinkError(const std::string& path) : IOError("not writing through a dangling link: " + path) {}
    const char* typeName() const noexcept override { return "DanglingLinkError"; }
};

// A value that cannot be converted or accepted.
class ValueError : public Error {
public:
    using Error::Error;
    const char* typeName() const noexcept override { return "ValueError"; }
};

// A state the program's own logic never reaches; raised instead of going on
// in it.
class InternalError : public Error {
public:
    using Error::Error;
    const char* typeName() const noexcept override { return "InternalError"; }
};

// The error of the platform's last failed call (GetLastError or errno), with
// an optional detail.
OSError lastOSError(const std::string& detail = {});

// An OSError for an explicit platform error code.
OSError osErrorFromCode(std::uint32_t code, const std::string& detail = {});

// The errno value that means what the platform's error code means: on POSIX
// the code itself; on Windows the C runtime's counterpart of a Win32 error
// (ERROR_DISK_FULL gives ENOSPC, ERROR_BROKEN_PIPE EPIPE, ...).
int errnoOf(std::uint32_t systemCode);

// "errno: N `text`": how the lines name the reason of a failed platform call.
std::string errnoText(int errnoValue);

// The IOError of a failed write: "errno: N `system text`".
IOError writeError(int errnoValue);

// The type name an error report shows for any exception.
std::string errorTypeName(const std::exception& error);

// "Error: unhandled exception: <message> [<type name>]", without a line break.
std::string unhandledErrorText(const std::exception& error);

}  // namespace runtime
