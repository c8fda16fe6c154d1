#pragma once
// The input of one conversion: opened for reading only, sized, and mapped
// read-only as a whole. input_file_win32.cpp and input_file_posix.cpp hold
// the two platforms' calls.

#include <cstdint>
#include <memory>
#include <string>

namespace engine {

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

    // Maps the whole file read-only; the file's handle is then closed (the
    // mapping keeps the file open). Raises OSError. An empty file maps to no
    // bytes.
    void map();

    // The mapped bytes (size() of them) once map() has run.
    const std::uint8_t* data() const;

    // Hints that the mapped bytes before offset will not be read again, so
    // their pages need not stay in memory. Offsets only grow between calls.
    void releasePagesBefore(std::uint64_t offset);

    // Hints that the mapped bytes [offset, offset + length) are about to be
    // read, so the system maps them in at once rather than page by page at
    // first touch. Never fails: without the hint the bytes are read anyway.
    void readAhead(std::uint64_t offset, std::uint64_t length);

    // Unmaps the view and closes the handles. Raises OSError.
    void close();

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
};

}  // namespace engine
