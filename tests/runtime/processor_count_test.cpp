#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <thread>

#include "runtime/fs.h"

namespace runtime {
namespace {

// The pool is sized by processorCount(): a process held to one processor
// (taskset, a container's cpuset) must not start a worker per processor of
// the machine. On Linux a thread's mask is what the process's threads
// started from it inherit, so one thread held to one processor shows it.
TEST(ProcessorCount, CountsOnlyTheProcessorsThisThreadMayRunOn) {
    if (::sysconf(_SC_NPROCESSORS_ONLN) < 2) GTEST_SKIP() << "one processor: nothing to tell apart";
    unsigned seen = 0;
    int pinned = -1;
    std::thread([&] {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(sched_getcpu(), &one);
        pinned = pthread_setaffinity_np(pthread_self(), sizeof one, &one);
        seen = processorCount();
    }).join();
    ASSERT_EQ(pinned, 0);
    EXPECT_EQ(seen, 1u);
}

}  // namespace
}  // namespace runtime
