#pragma once
// Short busy waits before blocking. Handing a small task to another thread
// and back costs two sleeps and two wake-ups, each far longer than the task
// itself; a thread that keeps polling for a few tens of microseconds sees the
// answer at once instead. After the budget it blocks as usual.

#include <chrono>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace runtime {

// How long a thread polls before it blocks.
inline constexpr std::chrono::microseconds spinBudget{100};

inline void cpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    _mm_pause();
#endif
}

// Polls ready() until it returns true or the budget is spent; returns its
// last answer.
template <class Ready>
bool spinUntil(Ready ready, std::chrono::microseconds budget = spinBudget) {
    const auto deadline = std::chrono::steady_clock::now() + budget;
    for (;;) {
        for (int i = 0; i < 64; ++i) {
            if (ready()) return true;
            cpuRelax();
        }
        if (std::chrono::steady_clock::now() >= deadline) return ready();
        // Polling must never keep a thread with real work off the processor.
        std::this_thread::yield();
    }
}

}  // namespace runtime
