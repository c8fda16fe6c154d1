#include "runtime/console.h"

#include <cstdio>
#include <mutex>

namespace runtime {

namespace {

std::mutex& consoleLock() {
    static std::mutex lock;
    return lock;
}

void writeLine(std::FILE* stream, std::string_view line) {
    std::lock_guard guard(consoleLock());
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

}  // namespace

void printLine(std::string_view line) { writeLine(stdout, line); }

void printErrorLine(std::string_view line) { writeLine(stderr, line); }

}  // namespace runtime
