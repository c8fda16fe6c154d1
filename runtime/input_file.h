#pragma once
// The input of one conversion: a file opened for reading only and read in
// pieces, front to back. input_file_posix.cpp and input_file_win32.cpp hold
// the two platforms' calls.
//
// The bytes are copied out (read), or seen in place in a read-only mapping
// of the whole file (view). On Windows the file is shared for reading only,
// so nobody can change it while the conversion holds it. On POSIX another
// program may shorten it meanwhile: read then returns fewer bytes, and a
// page of the mapping that the file no longer has reads as zeros instead of
// ending the process with SIGBUS; either way unchanged() turns false.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/fs.h"

namespace runtime {

class Folder;
class ScratchFile;

class InputFile {
public:
    // Opens the file at path (following links). Raises NotAFileError for
    // something that is not a plain file (a pipe, a device, a socket, a
    // pseudo-file of the system), checked on what was opened; OSError with
    // the path as detail when it cannot be opened.
    explicit InputFile(const std::string& path);
    // Opens the file name in folder without following a link: a link (a
    // reparse point on Windows), or anything else that is not a plain file,
    // found there when it is opened raises NotAFileError; OSError as above.
    InputFile(const Folder& folder, const std::string& name);
    // Reads what was written to the scratch file, which the lines call
    // path. origin: the file its bytes were copied from, if known, whose
    // identity and permissions it then takes, so that an output can
    // neither replace that file nor show its bytes to more people.
    InputFile(ScratchFile scratch, const std::string& path, std::optional<SourceFile> origin);
    // Releases the file, ignoring errors (close() reports them).
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The size the file had when it was opened.
    std::uint64_t size() const;

    FileIdentity identity() const;

    // The file's permission bits (read, write, execute for owner, group
    // and others), which a new output takes its own from.
    std::uint32_t permissions() const;

    // Copies the bytes [offset, offset + length) into destination and
    // returns how many there were: fewer only when the file has become
    // shorter since it was opened. Raises OSError.
    std::uint64_t read(std::uint64_t offset, std::uint64_t length, std::uint8_t* destination);

    // The bytes [offset, offset + length) in place, read from the file as
    // they are touched; valid until release() gives back their pages or
    // close(). Changes nothing else. Raises OSError when the file cannot be
    // mapped.
    const std::uint8_t* view(std::uint64_t offset, std::uint64_t length);

    // Gives back the memory of the pages that lie wholly before offset:
    // every view of them is done with. Releasing less than before does
    // nothing.
    void release(std::uint64_t before) noexcept;

    // Asks the system to read [offset, offset + length) from the disk now,
    // without waiting, for a view soon after: the bytes are then there when
    // they are touched instead of read one fault at a time. Only a hint,
    // and cheap when the bytes are in memory already.
    void prefetch(std::uint64_t offset, std::uint64_t length) noexcept;

    // True while the file keeps the size and modification time it had when
    // it was opened, and every byte viewed was read from it.
    bool unchanged() const;

    // Releases the file. Raises OSError when the platform reports a failure.
    void close();

    struct Native;
    const Native& native() const { return *native_; }

private:
    std::unique_ptr<Native> native_;
};

}  // namespace runtime
