#pragma once
// Temporary files that a stopped process must not leave behind. A stop
// request (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM or a broken pipe on
// POSIX; Ctrl-C, Ctrl-Break or closing the console on Windows) ends a
// process at once, between any two instructions, so the files it would
// leave are kept in one process-wide list that the stop handler can reach:
// the one piece of global state this needs.
//
// A file is made while the list is locked and listed in the same step; the
// stop handler takes the lock and never gives it back. So every temporary
// file is either listed when a stop comes, or never made.

#include <functional>
#include <list>
#include <string>

namespace runtime {

// Keeps a temporary file on the list for as long as it lives.
class TemporaryFileEntry {
public:
    // Runs make(), which creates the file at path and returns whether it
    // did, with the list locked, and lists path when it did. A make() that
    // raises lists nothing.
    TemporaryFileEntry(std::string path, const std::function<bool()>& make);
    ~TemporaryFileEntry();
    TemporaryFileEntry(const TemporaryFileEntry&) = delete;
    TemporaryFileEntry& operator=(const TemporaryFileEntry&) = delete;

    // Whether make() created the file.
    explicit operator bool() const { return listed_; }

private:
    std::list<std::string>::iterator entry_;
    bool listed_ = false;
};

// From now on a stop request removes every listed temporary file, then ends
// the process as the request would have: on POSIX by the signal itself (the
// shell reports 128 + its number: 130, 143, 129, ...), on Windows with
// status STATUS_CONTROL_C_EXIT. On POSIX it must run before any other
// thread starts, since the threads inherit the signals it blocks; a write
// to a closed pipe then fails with EPIPE instead of ending the process, and
// the writer calls endAsBrokenPipe().
void removeTemporaryFilesWhenStopped();

// After a write failed because its reader has gone (EPIPE): removes every
// listed temporary file and ends the process by SIGPIPE, as the write would
// have without removeTemporaryFilesWhenStopped(). Returns only where
// removeTemporaryFilesWhenStopped() was not called (the window, tests), so
// that the caller reports the failed write as before.
void endAsBrokenPipe();

namespace detail {

// Removes every listed file and keeps the list locked for good; called by
// the platform's stop handler.
void removeListedTemporaryFiles() noexcept;

}  // namespace detail

}  // namespace runtime
