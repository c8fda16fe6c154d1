#include "runtime/worker_pool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <optional>

#include "runtime/busy_threads.h"
#include "runtime/fs.h"
#include "runtime/spin_wait.h"

namespace runtime {

WorkerPool::WorkerPool(unsigned threadCount) {
    threads_.reserve(threadCount);
    for (unsigned i = 0; i < threadCount; ++i) threads_.emplace_back([this] { workerLoop(); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard guard(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void WorkerPool::submit(std::function<void()> task) {
    std::size_t waiting = 0;
    {
        std::lock_guard guard(mutex_);
        queue_.push_back(std::move(task));
        waiting = queue_.size();
        queued_.store(waiting);
    }
    // A polling worker takes one task without being woken; any more tasks
    // need sleeping workers.
    if (waiting > polling_.load()) wake_.notify_one();
}

void WorkerPool::workerLoop() {
    for (;;) {
        std::function<void()> task;
        {
            // Poll a little before sleeping: in a batch of small files the
            // next task follows the last one within microseconds.
            // One poller is enough; the others sleep.
            unsigned none = 0;
            if (polling_.compare_exchange_strong(none, 1)) {
                spinUntil([this] { return queued_.load(std::memory_order_relaxed) > 0; });
                polling_.store(0);
            }
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            task = std::move(queue_.front());
            queue_.pop_front();
            queued_.store(queue_.size());
        }
        task();
    }
}

// Shared by the caller of a parallel run and the helpers it queued. A helper
// may start after the run has finished; it then finds no index left and
// only touches this record, which it keeps alive.
struct ParallelRun {
    std::weak_ptr<ParallelSeries::State> series;  // whose later jobs a waiter helps with
    std::function<void(std::size_t)> work;
    std::size_t count = 0;
    std::atomic<std::size_t> nextIndex{0};
    std::mutex mutex;
    std::condition_variable allDone;
    std::size_t finished = 0;
    std::exception_ptr firstError;

    // Makes one call not yet started; false when none is left. A helper's
    // call counts as a busy thread until it returns, before the waiter can
    // see it done.
    bool takeOne(bool helper = false) {
        const std::size_t index = nextIndex.fetch_add(1);
        if (index >= count) return false;
        std::exception_ptr error;
        try {
            std::optional<BusyThreads::Busy> busy;
            if (helper) busy.emplace();
            work(index);
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard guard(mutex);
        if (error && !firstError) firstError = error;
        if (++finished == count) allDone.notify_all();
        return true;
    }

    // A helper's part: calls until none is left.
    void takePart() {
        while (takeOne(true)) {
        }
    }

    bool unstarted() const { return nextIndex.load() < count; }

    bool done() {
        std::lock_guard guard(mutex);
        return finished == count;
    }

    // Waits for the calls started elsewhere, then raises the first error.
    void waitForAll() {
        std::unique_lock lock(mutex);
        allDone.wait(lock, [&] { return finished == count; });
        if (firstError) std::rethrow_exception(firstError);
    }
};

void ParallelJob::abandon() noexcept {
    try {
        wait();
    } catch (...) {
        // Whoever drops a job without waiting has no use for its error.
    }
}

ParallelJob WorkerPool::startParallel(std::size_t count, std::function<void(std::size_t)> work) {
    return ParallelSeries(*this, threadCount()).start(count, std::move(work));
}

// Shared by the series and its helpers, which may outlive it.
struct ParallelSeries::State {
    State(WorkerPool& workers, unsigned helperLimit) : pool(workers), helpers(helperLimit) {}

    WorkerPool& pool;
    const unsigned helpers;
    std::mutex mutex;
    std::deque<std::shared_ptr<ParallelRun>> pending;  // in the order started
    unsigned active = 0;                               // helpers at work

    // A job of the series started after run with a call left to start.
    static std::shared_ptr<ParallelRun> laterThan(const ParallelRun& run) {
        const std::shared_ptr<State> state = run.series.lock();
        if (!state) return nullptr;
        std::lock_guard guard(state->mutex);
        for (const std::shared_ptr<ParallelRun>& pending : state->pending) {
            if (pending.get() != &run && pending->unstarted()) return pending;
        }
        return nullptr;
    }

    // A helper: takes part in each job in turn and leaves when none has a
    // call left to start.
    static void serve(const std::shared_ptr<State>& state) {
        for (;;) {
            std::shared_ptr<ParallelRun> run;
            {
                std::lock_guard guard(state->mutex);
                std::deque<std::shared_ptr<ParallelRun>>& pending = state->pending;
                while (!pending.empty() && !pending.front()->unstarted()) {
                    pending.pop_front();
                }
                if (pending.empty()) {
                    --state->active;
                    return;
                }
                run = pending.front();
            }
            run->takePart();
        }
    }
};

void ParallelJob::wait() {
    if (!run_) return;
    const std::shared_ptr<ParallelRun> run = std::move(run_);
    for (;;) {
        if (run->takeOne()) continue;
        if (run->done()) break;
        // The job's last calls run elsewhere: make a call of a later job of
        // the series meanwhile, if one is left to start.
        const std::shared_ptr<ParallelRun> later = ParallelSeries::State::laterThan(*run);
        if (!later || !later->takeOne()) break;
    }
    const BusyThreads::Waiting waiting;
    run->waitForAll();
}

ParallelSeries::ParallelSeries(WorkerPool& pool, unsigned helpers) : state_(std::make_shared<State>(pool, helpers)) {}

unsigned ParallelSeries::threads() const { return state_->helpers + 1; }

ParallelJob ParallelSeries::start(std::size_t count, std::function<void(std::size_t)> work) {
    if (count == 0) return ParallelJob();
    auto run = std::make_shared<ParallelRun>();
    run->series = state_;
    run->work = std::move(work);
    run->count = count;
    std::lock_guard guard(state_->mutex);
    state_->pending.push_back(run);
    for (std::size_t i = 0; i < count && state_->active < state_->helpers; ++i) {
        ++state_->active;
        state_->pool.submit([state = state_] { State::serve(state); });
    }
    return ParallelJob(run);
}

WorkerPool& sharedWorkerPool() {
    static WorkerPool pool(std::min(processorCount(), 256u));
    return pool;
}

}  // namespace runtime
