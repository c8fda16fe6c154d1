#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdio>

#include "runtime/errors.h"
#include "runtime/standard_streams.h"

namespace runtime {

bool standardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

std::size_t readStandardInput(void* destination, std::size_t count) {
    // Bytes, not text: no CR LF translation, no end at Ctrl-Z.
    static const int binary = _setmode(_fileno(stdin), _O_BINARY);
    (void)binary;
    const std::size_t got = std::fread(destination, 1, count, stdin);
    if (got < count && std::ferror(stdin)) throw osErrorFromCode(static_cast<std::uint32_t>(errno), "standard input");
    return got;
}

}  // namespace runtime
