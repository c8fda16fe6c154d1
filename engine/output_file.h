#pragma once
// The output of one conversion: a file written with the C runtime, front to
// back in one pass.

#include <cstdint>
#include <cstdio>
#include <string>

namespace engine {

class OutputFile {
public:
    // Opens the path for writing; isOpen() is false when that failed.
    explicit OutputFile(const std::string& path);
    // Closes the file if still open, ignoring errors (use close() to see them).
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }

    // Writes all bytes. Raises IOError ("errno: N `text`") when a write fails.
    void write(const void* bytes, std::uint64_t count);

    // Pushes buffered bytes to the system. Raises IOError.
    void flush();

    // Closes the file. Raises IOError when the last bytes cannot be written.
    void close();

    std::FILE* stream() const { return file_; }

private:
    std::FILE* file_;
};

}  // namespace engine
