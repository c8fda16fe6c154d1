#pragma once
// The one updating line on standard error that tells a person at a terminal
// how a long conversion advances.

#include <chrono>
#include <cstdint>

namespace app {

class ProgressLine {
public:
    // shown: whether anything is shown at all (a terminal, not --quiet).
    // folder: the input is a folder, whose total is not known ahead.
    ProgressLine(bool shown, bool folder);

    // A file's data begin: its size in bytes.
    void fileStarted(std::uint64_t size);
    // count more of its bytes are written.
    void dataWritten(std::uint64_t count);

    // Takes the line away once the input is done.
    void finish();

private:
    using Clock = std::chrono::steady_clock;

    const bool shown_;
    const bool folder_;
    const Clock::time_point start_;
    Clock::time_point lastShown_{};
    std::uint64_t bytesDone_ = 0;
    std::uint64_t bytesTotal_ = 0;
    std::uint64_t files_ = 0;
};

}  // namespace app
