#pragma once
// The process's pool of worker threads: one per processor, at most 256.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace runtime {

struct ParallelRun;

// A parallel run of work(i) for every i below a count, started by a
// ParallelSeries (or WorkerPool::startParallel, a series of its own). Its
// calls use what the starter owns, so the job cannot outlive its waiting:
// it is move-only, and destroying or replacing a job that was not waited
// for waits for it, dropping its error.
class ParallelJob {
public:
    ParallelJob() = default;
    explicit ParallelJob(std::shared_ptr<ParallelRun> run) : run_(std::move(run)) {}
    ~ParallelJob() { abandon(); }
    ParallelJob(ParallelJob&& other) noexcept = default;
    ParallelJob& operator=(ParallelJob&& other) noexcept {
        if (this != &other) {
            abandon();
            run_ = std::move(other.run_);
        }
        return *this;
    }
    ParallelJob(const ParallelJob&) = delete;
    ParallelJob& operator=(const ParallelJob&) = delete;

    // Takes part in the calls not yet started; once none is left, makes
    // calls of later jobs of the same series, one at a time, while the last
    // of its own run elsewhere, so that the waiting thread never sits idle
    // while there is work; returns when every call of the job has returned.
    // Raises the first error a call raised. Does nothing for a job already
    // waited for. Never waits for a busy pool: it may be called from a
    // worker.
    void wait();

private:
    void abandon() noexcept;

    std::shared_ptr<ParallelRun> run_;
};

// Threads that serve data-parallel jobs, and nothing else: no task of the
// pool's blocks or runs for long, so that a job's calls never wait behind
// one.
class WorkerPool {
public:
    explicit WorkerPool(unsigned threadCount);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    unsigned threadCount() const { return static_cast<unsigned>(threads_.size()); }

    // Starts work(i) for every i below count on as many workers as the pool
    // has, and returns at once: a series of its own (see ParallelSeries).
    ParallelJob startParallel(std::size_t count, std::function<void(std::size_t)> work);

private:
    friend class ParallelSeries;
    // Queues a task for the next idle worker. The task must not throw.
    void submit(std::function<void()> task);
    void workerLoop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    std::atomic<std::size_t> queued_{0};  // queue_.size(), readable without the lock
    std::atomic<unsigned> polling_{0};    // workers polling for work instead of sleeping
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

// Parallel jobs served in the order they were started by at most a given
// number of the pool's workers, which go from one job to the next without
// waiting for anyone to wait for the one before. A pipeline can so keep
// several jobs in flight and yet no more threads busy than it means to:
// its own and the helpers, never more than the processors, which the
// system would otherwise make take turns on one of them.
class ParallelSeries {
public:
    ParallelSeries(WorkerPool& pool, unsigned helpers);

    // The threads that do its work: its helpers and the one that waits.
    unsigned threads() const;

    // Starts work(i) for every i below count once the jobs started before
    // have no call left to start, and returns at once.
    ParallelJob start(std::size_t count, std::function<void(std::size_t)> work);

    struct State;

private:
    std::shared_ptr<State> state_;
};

// The process-wide pool, started on first use with one worker per processor
// (at most 256).
WorkerPool& sharedWorkerPool();

}  // namespace runtime
