#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>

#include "runtime/spin_wait.h"

namespace engine {

// What a waiting thread knows of the tasks it handed out: how many entered
// and how many left, and the first error one of them raised.
class CompletionBarrier {
public:
    void enter() {
        std::lock_guard guard(mutex_);
        ++entered_;
        done_.store(false);
    }

    // Called by every task that entered, on every way out, error or not.
    void leave(std::exception_ptr error) noexcept {
        std::lock_guard guard(mutex_);
        if (error && !error_) error_ = error;
        if (++left_ == entered_) {
            allLeft_.notify_all();
            done_.store(true);
        }
    }

    // Waits until every task that entered has left, then raises the first
    // error one of them reported.
    void wait() {
        // A small task is often done before a sleep and wake-up would be.
        runtime::spinUntil([this] { return done_.load(std::memory_order_acquire); });
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
    std::atomic<bool> done_{false};
    std::exception_ptr error_;
};

}  // namespace engine
