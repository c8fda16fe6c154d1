#pragma once
// A C runtime file, and opening one by its UTF-8 path. On Windows the path
// goes to _wfopen as UTF-16, so names outside the ANSI code page open too.

#include <cstdio>
#include <string>

namespace runtime {

// Owns one FILE*; closes it when destroyed. Move-only.
class CFile {
public:
    CFile() = default;
    explicit CFile(std::FILE* file) : file_(file) {}
    ~CFile() { reset(); }
    CFile(CFile&& other) noexcept : file_(other.release()) {}
    CFile& operator=(CFile&& other) noexcept {
        if (this != &other) {
            reset();
            file_ = other.release();
        }
        return *this;
    }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    std::FILE* get() const { return file_; }
    explicit operator bool() const { return file_ != nullptr; }
    std::FILE* release() {
        std::FILE* file = file_;
        file_ = nullptr;
        return file;
    }
    // Closes now, ignoring errors (for early exits; see closeChecked).
    void reset() {
        if (file_) std::fclose(release());
    }
    // Closes now and reports whether everything buffered reached the file.
    bool closeChecked() { return file_ == nullptr || std::fclose(release()) == 0; }

private:
    std::FILE* file_ = nullptr;
};

// Opens a file for binary writing ("wb": created, or truncated when it
// exists); empty when it cannot be opened, and errno tells why.
CFile openFileForWriting(const std::string& path);

}  // namespace runtime
