#pragma once
// The process's pool of worker threads: one per processor, at most 256.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace runtime {

class WorkerPool {
public:
    explicit WorkerPool(unsigned threadCount);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    unsigned threadCount() const { return static_cast<unsigned>(threads_.size()); }

    // Queues a task for the next idle worker. The task must not throw.
    void submit(std::function<void()> task);

    // Runs work(i) for every i below count, on the calling thread and on idle
    // workers at once, and returns when all calls have returned. The calling
    // thread takes part, so this never waits for a busy pool (it may be
    // called from a worker). The first error raised by a call is raised here
    // after the others have finished.
    void runParallel(std::size_t count, const std::function<void(std::size_t)>& work);

private:
    void workerLoop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

// The process-wide pool, started on first use with one worker per processor
// (at most 256).
WorkerPool& sharedWorkerPool();

}  // namespace runtime
