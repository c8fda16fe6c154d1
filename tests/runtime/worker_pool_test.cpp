#include "runtime/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

namespace runtime {
namespace {

// Runs body on a thread of its own and fails at once, ending the test
// program, when it has not returned within the limit: a deadlock then shows
// in seconds, not at the test runner's timeout.
template <class Body>
void withinSeconds(int limit, Body body) {
    std::packaged_task<void()> task(body);
    std::future<void> done = task.get_future();
    std::thread runner(std::move(task));
    if (done.wait_for(std::chrono::seconds(limit)) == std::future_status::timeout) {
        std::fprintf(stderr, "deadlock: still waiting after %d s\n", limit);
        std::abort();
    }
    runner.join();
    done.get();
}

TEST(WorkerPool, AJobCallsEveryIndexOnceWithAnyNumberOfWorkers) {
    withinSeconds(10, [] {
        for (unsigned threads : {1u, 3u}) {
            WorkerPool pool(threads);
            std::vector<std::atomic<int>> calls(100);
            ParallelJob job = pool.startParallel(calls.size(), [&](std::size_t i) { ++calls[i]; });
            job.wait();
            job.wait();  // a second wait does nothing
            for (auto& count : calls) EXPECT_EQ(count.load(), 1);
        }
    });
}

TEST(WorkerPool, WaitingFromInsideAWorkerDoesNotWaitForItself) {
    withinSeconds(10, [] {
        WorkerPool pool(1);
        std::atomic<int> done{0};
        std::promise<void> finished;
        ParallelJob outer = pool.startParallel(1, [&](std::size_t) {
            pool.startParallel(8, [&](std::size_t) { ++done; }).wait();
            finished.set_value();
        });
        finished.get_future().wait();
        outer.wait();
        EXPECT_EQ(done.load(), 8);
    });
}

TEST(WorkerPool, TheFirstErrorIsRaisedAfterAllCallsReturned) {
    withinSeconds(10, [] {
        WorkerPool pool(2);
        std::atomic<int> done{0};
        ParallelJob job = pool.startParallel(16, [&](std::size_t i) {
            ++done;
            if (i == 3) throw std::runtime_error("boom");
        });
        EXPECT_THROW(job.wait(), std::runtime_error);
        EXPECT_EQ(done.load(), 16);
    });
}

TEST(WorkerPool, AJobDroppedOrReplacedWithoutWaitingIsWaitedFor) {
    withinSeconds(10, [] {
        WorkerPool pool(2);
        std::atomic<int> running{0};
        auto slow = [&](std::size_t) {
            ++running;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            --running;
            throw std::runtime_error("dropped with the job");
        };
        { ParallelJob job = pool.startParallel(4, slow); }
        EXPECT_EQ(running.load(), 0);
        ParallelJob job = pool.startParallel(4, slow);
        job = pool.startParallel(1, [](std::size_t) {});
        EXPECT_EQ(running.load(), 0);
        job.wait();
    });
}

TEST(ParallelSeries, ItsHelpersGoOnToLaterJobsAndNoMoreRunThanItHas) {
    withinSeconds(20, [] {
        WorkerPool pool(3);
        ParallelSeries series(pool, 1);
        constexpr std::size_t jobs = 4;
        constexpr std::size_t calls = 10;
        std::vector<std::atomic<int>> done(jobs * calls);
        std::atomic<int> running{0};
        std::atomic<int> mostAtOnce{0};
        std::vector<ParallelJob> started;
        for (std::size_t j = 0; j < jobs; ++j) {
            started.push_back(series.start(calls, [&, j](std::size_t i) {
                const int now = ++running;
                for (int most = mostAtOnce.load(); now > most && !mostAtOnce.compare_exchange_weak(most, now);) {
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                --running;
                ++done[j * calls + i];
            }));
        }
        // Nobody waits yet: the helper alone reaches the last job.
        while (done.back().load() == 0) std::this_thread::yield();
        EXPECT_EQ(mostAtOnce.load(), 1);
        for (std::size_t j = jobs; j-- > 0;) started[j].wait();
        for (auto& count : done) EXPECT_EQ(count.load(), 1);
    });
}

TEST(ParallelSeries, WaitingMakesCallsOfLaterJobsWhileTheLastCallRunsElsewhere) {
    withinSeconds(10, [] {
        WorkerPool pool(1);
        ParallelSeries series(pool, 1);
        std::promise<void> released;
        std::atomic<bool> started{false};
        // The helper takes the first job's one call, which waits for a call
        // of the second job: only the waiting thread can make that one.
        ParallelJob first = series.start(1, [&](std::size_t) {
            started = true;
            released.get_future().wait();
        });
        while (!started) std::this_thread::yield();
        ParallelJob second = series.start(1, [&](std::size_t) { released.set_value(); });
        first.wait();
        second.wait();
    });
}

}  // namespace
}  // namespace runtime
