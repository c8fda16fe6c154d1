#pragma once

#include <condition_variable>
#include <exception>
#include <mutex>

namespace engine {

// What a waiting thread knows of the tasks it handed out: how many entered
// and how many left, and the first error one of them raised.
class CompletionBarrier {
public:
    void enter() {
        std::lock_guard guard(mutex_);
        ++entered_;
    }

    // Called by every task that entered, on every way out, error or not.
    void leave(std::exception_ptr error) noexcept {
        std::lock_guard guard(mutex_);
        if (error && !error_) error_ = error;
        if (++left_ == entered_) allLeft_.notify_all();
    }

    // Waits until every task that entered has left, then raises the first
    // error one of them reported.
    void wait() {
        std::unique_lock lock(mutex_);
        allLeft_.wait(lock, [this] { return left_ == entered_; });
        if (error_) {
            std::exception_ptr error = error_;
            error_ = nullptr;
            std::rethrow_exception(error);
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable allLeft_;
    unsigned entered_ = 0;
    unsigned left_ = 0;
    std::exception_ptr error_;
};

}  // namespace engine
