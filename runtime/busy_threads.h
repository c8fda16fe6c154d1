#pragma once
// How many threads do the engine's work at once, and the most there were:
// the engine keeps this at or below the processors it may use, and the
// tests hold it to that. A thread counts while it is marked busy and not
// waiting.

#include <atomic>

namespace runtime {

class BusyThreads {
public:
    // Marks the calling thread busy for as long as it lives.
    class Busy {
    public:
        Busy() noexcept { enter(); }
        ~Busy() { leave(); }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
    };

    // Marks a busy thread as waiting (not working) for as long as it lives.
    class Waiting {
    public:
        Waiting() noexcept { leave(); }
        ~Waiting() { enter(); }
        Waiting(const Waiting&) = delete;
        Waiting& operator=(const Waiting&) = delete;
    };

    // The most threads busy at once since the last reset.
    static int peak() noexcept { return peak_.load(); }
    static void resetPeak() noexcept { peak_.store(now_.load()); }

private:
    static void enter() noexcept {
        const int busy = now_.fetch_add(1) + 1;
        for (int most = peak_.load(); busy > most && !peak_.compare_exchange_weak(most, busy);) {
        }
    }
    static void leave() noexcept { now_.fetch_sub(1); }

    static inline std::atomic<int> now_{0};
    static inline std::atomic<int> peak_{0};
};

}  // namespace runtime
