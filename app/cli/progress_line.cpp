#include "app/cli/progress_line.h"

#include <cstdio>
#include <string>

#include "runtime/console.h"

namespace app {

namespace {

// A short run is over before a line would help: nothing shows before this,
// and the line changes at most this often after it.
constexpr std::chrono::milliseconds quietStart{1000};
constexpr std::chrono::milliseconds updateInterval{200};

std::string mebibytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1 << 20));
    return text;
}

}  // namespace

ProgressLine::ProgressLine(bool shown, bool folder) : shown_(shown), folder_(folder), start_(Clock::now()) {}

void ProgressLine::fileStarted(std::uint64_t size) {
    ++files_;
    if (!folder_) bytesTotal_ = size;
}

void ProgressLine::dataWritten(std::uint64_t count) {
    bytesDone_ += count;
    if (!shown_) return;
    const Clock::time_point now = Clock::now();
    if (now - start_ < quietStart || now - lastShown_ < updateInterval) return;
    lastShown_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = static_cast<double>(bytesDone_) / seconds;
    std::string text;
    if (folder_) {
        text = std::to_string(files_) + (files_ == 1 ? " file, " : " files, ") + mebibytes(bytesDone_);
    } else {
        text = std::to_string(bytesTotal_ ? bytesDone_ * 100 / bytesTotal_ : 100) + "%, " + mebibytes(bytesDone_) +
               " of " + mebibytes(bytesTotal_);
    }
    text += ", " + mebibytes(static_cast<std::uint64_t>(rate)) + "/s";
    if (!folder_ && rate > 0) {
        const auto left = static_cast<long long>(static_cast<double>(bytesTotal_ - bytesDone_) / rate + 0.5);
        text += ", " + std::to_string(left) + " s left";
    }
    runtime::showProgress(text);
}

void ProgressLine::finish() {
    if (shown_) runtime::clearProgress();
}

}  // namespace app
