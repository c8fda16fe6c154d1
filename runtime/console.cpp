#include "runtime/console.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <string>

#include "runtime/stop_cleanup.h"

namespace runtime {

namespace {

struct Console {
    std::mutex lock;
    std::FILE* lines = stdout;
    std::size_t progressLength = 0;  // of the progress line shown, if any

    // Blanks out the progress line, so that a line printed after it starts
    // at the left edge of an empty line.
    void clearProgress() {
        if (progressLength == 0) return;
        std::fputc('\r', stderr);
        for (std::size_t i = 0; i < progressLength; ++i) std::fputc(' ', stderr);
        std::fputc('\r', stderr);
        std::fflush(stderr);
        progressLength = 0;
    }
};

Console& console() {
    static Console instance;
    return instance;
}

void writeLine(std::FILE* stream, std::string_view line) {
    Console& out = console();
    std::lock_guard guard(out.lock);
    out.clearProgress();
    errno = 0;
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
    // A reader that has gone ends the run, as the signal of a broken pipe
    // would have: nobody reads what it goes on to say.
    if (std::fflush(stream) != 0 && errno == EPIPE) endAsBrokenPipe();
}

}  // namespace

void printLine(std::string_view line) { writeLine(console().lines, line); }

void printErrorLine(std::string_view line) { writeLine(stderr, line); }

void printLinesToStandardError() {
    std::lock_guard guard(console().lock);
    console().lines = stderr;
}

void showProgress(std::string_view text) {
    Console& out = console();
    std::lock_guard guard(out.lock);
    std::fputc('\r', stderr);
    std::fwrite(text.data(), 1, text.size(), stderr);
    // Blanks out what is left of a longer line before it.
    for (std::size_t i = text.size(); i < out.progressLength; ++i) std::fputc(' ', stderr);
    std::fflush(stderr);
    out.progressLength = std::max(out.progressLength, text.size());
}

void clearProgress() {
    std::lock_guard guard(console().lock);
    console().clearProgress();
}

}  // namespace runtime
