#include "app/config/base_lexer.h"

#include <algorithm>
#include <cstring>

namespace app {

namespace {

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

}  // namespace

void BaseLexer::open(std::unique_ptr<ByteSource> input, std::size_t bufferSize) {
    input_ = std::move(input);
    buffer_.assign(std::max<std::size_t>(bufferSize, 1), endMarker);
    // A sentinel at the last byte makes the first fill keep nothing.
    sentinel_ = buffer_.size() - 1;
    lineNumber_ = 1;
    lineStart_ = 0;
    position_ = 0;
    fillBuffer();
    // The end marker stops the comparison before it can run past the data.
    if (peek() == '\xEF' && peek(1) == '\xBB' && peek(2) == '\xBF') {
        position_ += 3;
        lineStart_ += 3;
    }
}

std::size_t BaseLexer::readInto(std::size_t offset, std::size_t count) {
    return input_ ? input_->read(buffer_.data() + offset, count) : 0;
}

void BaseLexer::endDataAt(std::size_t index) {
    buffer_[index] = endMarker;
    sentinel_ = index;
}

void BaseLexer::fillBuffer() {
    // The bytes after the sentinel are the start of a line not yet complete:
    // they move to the front and the rest of the buffer is read anew.
    const std::size_t kept = buffer_.size() - sentinel_ - 1;
    std::memmove(buffer_.data(), buffer_.data() + sentinel_ + 1, kept);
    const std::size_t asked = buffer_.size() - kept;
    const std::size_t got = readInto(kept, asked);
    if (got < asked) return endDataAt(kept + got);

    // The kept bytes hold no line break (the old sentinel was the last one),
    // so each search only needs to look at bytes newly read.
    std::size_t searchFrom = kept;
    for (;;) {
        for (std::size_t i = buffer_.size(); i > searchFrom; --i) {
            if (isLineBreak(buffer_[i - 1])) {
                sentinel_ = i - 1;
                return;
            }
        }
        // A line longer than the buffer: double it and read into the new half.
        const std::size_t oldSize = buffer_.size();
        buffer_.resize(oldSize * 2);
        const std::size_t more = readInto(oldSize, oldSize);
        if (more < oldSize) return endDataAt(oldSize + more);
        searchFrom = oldSize;
    }
}

void BaseLexer::stepOverBreakByte() {
    if (position_ < sentinel_) {
        ++position_;
    } else {
        fillBuffer();
        position_ = 0;
    }
}

void BaseLexer::skipLineBreak() {
    const char first = peek();
    ++lineNumber_;
    stepOverBreakByte();
    if (first == '\r' && peek() == '\n') stepOverBreakByte();
    lineStart_ = position_;
}

}  // namespace app
