#pragma once
// Temporary files that a stopped process must not leave behind. A stop
// request (SIGINT, SIGTERM or SIGHUP on POSIX; Ctrl-C, Ctrl-Break or closing
// the console on Windows) ends a process at once, between any two
// instructions, so the files it would leave are kept in one process-wide
// list that the stop handler can reach: the one piece of global state this
// needs.

#include <list>
#include <string>

namespace runtime {

// Keeps a temporary file on the list for as long as it lives.
class TemporaryFileEntry {
public:
    explicit TemporaryFileEntry(std::string path);
    ~TemporaryFileEntry();
    TemporaryFileEntry(const TemporaryFileEntry&) = delete;
    TemporaryFileEntry& operator=(const TemporaryFileEntry&) = delete;

private:
    std::list<std::string>::iterator entry_;
};

// From now on a stop request removes every listed temporary file, then ends
// the process as the request would have: on POSIX by the signal itself (the
// shell reports 128 + its number: 130, 143, 129), on Windows with status
// STATUS_CONTROL_C_EXIT. On POSIX it must run before any other thread
// starts, since the threads inherit the signals it blocks.
void removeTemporaryFilesWhenStopped();

namespace detail {

// Removes every listed file; called by the platform's stop handler.
void removeListedTemporaryFiles() noexcept;

}  // namespace detail

}  // namespace runtime
