#pragma once
// Short polling before blocking. Handing a small task to another thread and
// back costs two sleeps and two wake-ups, each longer than the task itself
// on a virtual machine; a thread that keeps looking for a few tens of
// microseconds sees the answer at once instead. It looks politely: between
// looks it yields, so a thread with real work on the same processor runs.

#include <chrono>
#include <thread>

namespace runtime {

// How long a thread polls before it blocks.
inline constexpr std::chrono::microseconds spinBudget{100};

// Polls ready() until it returns true or the budget is spent; returns its
// last answer.
template <class Ready>
bool spinUntil(Ready ready, std::chrono::microseconds budget = spinBudget) {
    const auto deadline = std::chrono::steady_clock::now() + budget;
    for (;;) {
        if (ready()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return ready();
        std::this_thread::yield();
    }
}

}  // namespace runtime
