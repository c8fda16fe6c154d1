#pragma once
// The input of one conversion: a file opened for reading only and read in
// pieces, front to back. input_file_posix.cpp and input_file_win32.cpp hold
// the two platforms' calls.
//
// On POSIX the bytes are copied with pread: a file that another program
// shortens meanwhile then reads short, where a mapping would kill the
// process with SIGBUS. On Windows they come from a read-only mapping of the
// whole file; the file is shared for reading only, so nobody can change it
// while the conversion holds it.

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/fs.h"

namespace runtime {

class Folder;

class InputFile {
public:
    // Opens the file at path (following links). Raises OSError with the
    // path as detail, also for something that is not a plain file.
    explicit InputFile(const std::string& path);
    // Opens the file name in folder. Raises OSError as above.
    InputFile(const Folder& folder, const std::string& name);
    // Releases the file, ignoring errors (close() reports them).
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The size the file had when it was opened.
    std::uint64_t size() const;

    FileIdentity identity() const;

    // Copies the bytes [offset, offset + length) into destination and
    // returns how many there were: fewer only when the file has become
    // shorter since it was opened. Reads only go forward: a read never
    // starts before the start of the one before it. Raises OSError.
    std::uint64_t read(std::uint64_t offset, std::uint64_t length, std::uint8_t* destination);

    // True while the file keeps the size and modification time it had when
    // it was opened.
    bool unchanged() const;

    // Releases the file. Raises OSError when the platform reports a failure.
    void close();

    struct Native;

private:
    std::unique_ptr<Native> native_;
};

}  // namespace runtime
