#pragma once
// A private file in the system's temporary folder for data that must be
// held whole before it can be used (standard input, whose size a WAV header
// needs first). It has no name while it lives where the system allows
// (O_TMPFILE on Linux; elsewhere on POSIX it is created for the owner only
// and its name removed at once; on Windows it is deleted when closed), so
// no ending of the process leaves it behind. scratch_file_posix.cpp and
// scratch_file_win32.cpp hold the two platforms' calls.

#include <cstdint>
#include <memory>

namespace runtime {

class ScratchFile {
public:
    // Creates the file. Raises OSError.
    ScratchFile();
    ~ScratchFile();
    ScratchFile(ScratchFile&&) noexcept;
    ScratchFile& operator=(ScratchFile&&) noexcept;

    // Appends the bytes. Raises IOError ("errno: N `text`").
    void write(const void* bytes, std::uint64_t count);

    struct Native;
    Native& native() { return *native_; }

private:
    std::unique_ptr<Native> native_;
};

}  // namespace runtime
