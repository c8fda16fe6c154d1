#pragma once
// The output of one conversion, put in place only when it is complete: the
// bytes go to a temporary file in the output's own folder, which replaces
// the output in one step at the end. Until then an earlier file of that
// name stays as it was, and a conversion that fails or is stopped leaves no
// partial file behind. output_file_posix.cpp and output_file_win32.cpp hold
// the two platforms' calls.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/fs.h"

namespace runtime {

class OutputFile {
public:
    // Creates the temporary file beside path. A path that names a device or
    // a pipe is opened and written directly: there is no file to replace.
    // Raises OSError with path as detail when path cannot be written: its
    // folder is missing or not writable, or path is a folder or a file
    // that may not be written.
    explicit OutputFile(const std::string& path);
    // Writes standard output, in binary.
    struct StandardOutput {};
    explicit OutputFile(StandardOutput);
    // Removes the temporary file unless commit() has put it in place.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The file that path named when this was made (standard output's, if a
    // file): the one a commit would replace.
    const std::optional<FileIdentity>& replaces() const;

    // Tells the system the file will grow to size bytes, so that it can set
    // the space aside in one step rather than block by block as the bytes
    // come. Only a hint: where it cannot, nothing changes, and a lack of
    // space is still reported by write().
    void reserve(std::uint64_t size) noexcept;

    // Appends the bytes. Raises IOError ("errno: N `text`") when a write
    // fails.
    void write(const void* bytes, std::uint64_t count);

    // Closes the file and moves it over path (standard output is only
    // flushed). Raises IOError when the last bytes cannot be written,
    // OSError when the move fails; the temporary file is removed either way.
    void commit();

    struct Native;

private:
    std::unique_ptr<Native> native_;
};

}  // namespace runtime
