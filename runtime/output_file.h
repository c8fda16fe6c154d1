#pragma once
// The output of one conversion, put in place only when it is complete: the
// bytes go to a temporary file in the output's own folder, which replaces
// the output in one step at the end. Until then an earlier file of that
// name stays as it was, and a conversion that fails or is stopped leaves no
// partial file behind. output_file_posix.cpp and output_file_win32.cpp hold
// the two platforms' calls.
//
// The temporary file is private (owner only) until it takes its place; the
// output then has the mode of the file it replaces, or for a new file the
// input's read and write permissions within the process's creation mask.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/fs.h"

namespace runtime {

class InputFile;

// Who named an output, which decides whether a link at its name is followed.
enum class OutputNaming {
    // The program made the name (a "zz_" name, a file of a batch): nothing
    // found there is followed. A file, a link, a pipe or a device of that
    // name is replaced by the complete output, so that a link planted there
    // cannot send the output elsewhere.
    own,
    // The user gave the name: a link there (a chain of them) is followed and
    // the file it leads to replaced, the link staying a link; a link that
    // leads nowhere is refused. When it leads to something that is not a
    // file (a device, a pipe, a terminal) or passes through a name of a
    // standard stream (/dev/stdout, /dev/fd/N, /proc/PID/fd/N; CON or NUL on
    // Windows), the output is written there in place, in order.
    given,
    // The program made the name and nothing there may be replaced: an
    // existing name is refused (EEXIST) when the output is made, and again
    // when it takes its name, should one have appeared meanwhile.
    fresh,
};

class OutputFile {
public:
    // Creates the temporary file for path, or opens what path leads to
    // when the output is written in place. permissions: the input's, whose
    // read and write bits a new output takes. Raises DanglingLinkError for
    // a given link that leads nowhere, OSError with path as detail when
    // path cannot be written: its folder is missing or not writable, or
    // path is a folder or a file that may not be written.
    OutputFile(const std::string& path, OutputNaming naming, std::uint32_t permissions);
    // Writes standard output, in binary.
    struct StandardOutput {};
    explicit OutputFile(StandardOutput);
    // Removes the temporary file unless commit() has put it in place.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The file that path led to when this was made (standard output's, if
    // a file): the one a commit replaces or that is written in place.
    const std::optional<FileIdentity>& replaces() const;

    // Whether the bytes go straight to where path leads, as to standard
    // output, rather than to a file put in place at the end.
    bool inPlace() const;

    // Tells the system the file will grow to size bytes, so that it can set
    // the space aside in one step rather than block by block as the bytes
    // come. Only a hint: where it cannot, nothing changes, and a lack of
    // space is still reported by write().
    void reserve(std::uint64_t size) noexcept;

    // Appends the bytes. Raises IOError ("errno: N `text`") when a write
    // fails. A reader that has gone (a closed pipe) ends the process as the
    // signal of a broken pipe would, where the stop handling is on.
    void write(const void* bytes, std::uint64_t count);

    // Appends the bytes [offset, offset + length) of input, as write()
    // would, by the system itself where it can (no copy through the
    // program). Returns how many there were: fewer only when the input has
    // become shorter. Raises IOError as write() does, OSError when the
    // input cannot be read.
    std::uint64_t copyFrom(InputFile& input, std::uint64_t offset, std::uint64_t length);

    // Closes the file and moves it over where path leads (standard output
    // and outputs written in place are only flushed and closed). Raises
    // IOError when the last bytes cannot be written, OSError when the move
    // fails; the temporary file is removed either way.
    void commit();

    // Reads the process's file-creation mask, which new outputs obey. Reading
    // it sets it for a moment, so call this before any other thread starts;
    // the first output reads it otherwise.
    static void readCreationMask();

    struct Native;

private:
    std::unique_ptr<Native> native_;
};

// Whether an output given by the user at path would be written in place
// (see OutputNaming::given), so that lines printed meanwhile must not go to
// the same place. False when path cannot be followed.
bool outputIsWrittenInPlace(const std::string& path);

}  // namespace runtime
