#pragma once
// A buffered byte source that counts lines and columns, for hand-written
// scanners. The buffer always ends at a line break or at the end marker, so a
// scanner can look one or two bytes past any byte that is neither without
// leaving it, and it only meets a refill when it steps over a line break.

#include <cstddef>
#include <memory>
#include <vector>

#include "app/config/byte_source.h"

namespace app {

class BaseLexer {
public:
    static constexpr std::size_t initialBufferSize = 8192;
    // Stored after the last byte read; a byte 0 in the input ends it there.
    static constexpr char endMarker = '\0';

    BaseLexer() = default;
    BaseLexer(const BaseLexer&) = delete;
    BaseLexer& operator=(const BaseLexer&) = delete;

    // Takes the source, fills the buffer and steps over a UTF-8 byte order
    // mark, so that columns on line 1 count from the byte after it. The
    // buffer size is for tests of the refill logic; the program uses the
    // default. Raises what the source raises.
    void open(std::unique_ptr<ByteSource> input, std::size_t bufferSize = initialBufferSize);

    // Releases the source (and with it the file it owns).
    void close() { input_.reset(); }

    // The byte at the position plus ahead. Valid for ahead 0 always, and one
    // or two bytes beyond any byte that is not CR, LF or the end marker.
    char peek(std::size_t ahead = 0) const { return buffer_[position_ + ahead]; }

    // Moves past count bytes, none of which may be CR, LF or the end marker.
    void advance(std::size_t count = 1) { position_ += count; }

    // At a CR or LF: counts one line break and moves past it (CR LF is one
    // break, LF CR two), refilling when the break is the buffer's last.
    // Raises what the source raises.
    void skipLineBreak();

    int lineNumber() const { return lineNumber_; }
    // Distance from the start of the current line; the first column is 0.
    std::size_t column() const { return position_ - lineStart_; }
    std::size_t bufferSize() const { return buffer_.size(); }

private:
    void fillBuffer();
    void stepOverBreakByte();
    std::size_t readInto(std::size_t offset, std::size_t count);
    void endDataAt(std::size_t index);

    std::unique_ptr<ByteSource> input_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    // Index of the last line break of the buffered data, or of the end marker.
    std::size_t sentinel_ = 0;
    int lineNumber_ = 1;
    std::size_t lineStart_ = 0;
};

}  // namespace app
