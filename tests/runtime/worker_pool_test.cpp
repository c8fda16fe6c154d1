#include "runtime/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace runtime {
namespace {

TEST(WorkerPool, RunParallelCallsEveryIndexOnceEvenWithOneWorker) {
    for (unsigned threads : {1u, 3u}) {
        WorkerPool pool(threads);
        std::vector<std::atomic<int>> calls(100);
        pool.runParallel(calls.size(), [&](std::size_t i) { ++calls[i]; });
        for (auto& count : calls) EXPECT_EQ(count.load(), 1);
    }
}

TEST(WorkerPool, RunParallelFromInsideAWorkerDoesNotWaitForItself) {
    WorkerPool pool(1);
    std::atomic<int> done{0};
    std::atomic<bool> finished{false};
    pool.submit([&] {
        pool.runParallel(8, [&](std::size_t) { ++done; });
        finished = true;
    });
    while (!finished) std::this_thread::yield();
    EXPECT_EQ(done.load(), 8);
}

TEST(WorkerPool, FirstErrorIsRaisedAfterAllCallsReturned) {
    WorkerPool pool(2);
    std::atomic<int> done{0};
    EXPECT_THROW(pool.runParallel(16,
                                  [&](std::size_t i) {
                                      ++done;
                                      if (i == 3) throw std::runtime_error("boom");
                                  }),
                 std::runtime_error);
    EXPECT_EQ(done.load(), 16);
}

TEST(WorkerPool, StartedJobRunsWhileTheCallerWorks) {
    WorkerPool pool(2);
    std::vector<int> values(1000);
    ParallelJob job = pool.startParallel(values.size(), [&](std::size_t i) { values[i] = static_cast<int>(i); });
    job.wait();
    job.wait();  // a second wait does nothing
    for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(values[i], static_cast<int>(i));
}

}  // namespace
}  // namespace runtime
