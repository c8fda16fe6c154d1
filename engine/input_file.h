#pragma once
// The input of one conversion: opened for reading only, sized, and mapped
// read-only as a whole. input_file_win32.cpp and input_file_posix.cpp hold
// the two platforms' calls.

#include <cstdint>
#include <memory>
#include <string>

namespace engine {

class OutputFile;

class InputFile {
public:
    // Opens the file for reading (others may only read it meanwhile, where
    // the platform can say so). Raises OSError with the path as detail.
    explicit InputFile(const std::string& path);
    // Releases the mapping and the handles, ignoring errors.
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::uint64_t size() const;

    // Maps the whole file read-only (on Windows the file handle is then
    // closed: the mapping keeps the file open). Raises OSError. An empty file
    // maps to no bytes.
    void map();

    // The mapped bytes (size() of them) once map() has run.
    const std::uint8_t* data() const;

    // Hints that the mapped bytes before offset will not be read again, so
    // their pages need not stay in memory. Offsets only grow between calls.
    void releasePagesBefore(std::uint64_t offset);

    // Copies the whole file to the end of the output inside the system,
    // without passing the bytes through this process. False, with nothing
    // written, where the platform or the file systems cannot. Raises IOError
    // when the copy breaks off.
    bool copyInsideSystem(OutputFile& output);

    // Unmaps the view and closes the handles. Raises OSError.
    void close();

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
};

}  // namespace engine
