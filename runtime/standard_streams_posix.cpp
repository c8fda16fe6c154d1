#include <unistd.h>

#include <cerrno>

#include "runtime/errors.h"
#include "runtime/standard_streams.h"

namespace runtime {

bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

std::size_t readStandardInput(void* destination, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(STDIN_FILENO, static_cast<char*>(destination) + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw lastOSError("standard input");
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

}  // namespace runtime
