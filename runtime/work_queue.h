#pragma once
// A queue of items handed from one thread to another, in order. It holds at
// most a given number, so a producer faster than its consumer waits rather
// than filling memory; either side can close it.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

namespace runtime {

template <class Item>
class WorkQueue {
public:
    explicit WorkQueue(std::size_t capacity) : capacity_(capacity) {}

    // Adds the item, waiting while the queue is full. False, and the item
    // dropped, when the queue is closed.
    bool push(Item item) {
        std::unique_lock lock(mutex_);
        if (items_.size() >= capacity_) {
            notFull_.wait(lock, [this] { return closed_ || items_.size() <= capacity_ / 2; });
        }
        if (closed_) return false;
        items_.push_back(std::move(item));
        if (items_.size() == 1) notEmpty_.notify_one();
        return true;
    }

    // The next item, waiting while the queue is empty; nothing once it is
    // closed and empty.
    std::optional<Item> pop() {
        std::unique_lock lock(mutex_);
        notEmpty_.wait(lock, [this] { return closed_ || !items_.empty(); });
        if (items_.empty()) return std::nullopt;
        Item item = std::move(items_.front());
        items_.pop_front();
        // A producer that found the queue full goes on once it is half
        // empty: it wakes once for many items, not once for each.
        if (items_.size() == capacity_ / 2) notFull_.notify_all();
        return item;
    }

    // No more items: pop() returns what is left, then nothing, and push()
    // refuses.
    void close() {
        std::lock_guard guard(mutex_);
        closed_ = true;
        notEmpty_.notify_all();
        notFull_.notify_all();
    }

    // Closes the queue and drops what it holds.
    void abandon() {
        std::lock_guard guard(mutex_);
        closed_ = true;
        items_.clear();
        notEmpty_.notify_all();
        notFull_.notify_all();
    }

private:
    const std::size_t capacity_;
    std::mutex mutex_;
    std::condition_variable notEmpty_;
    std::condition_variable notFull_;
    std::deque<Item> items_;
    bool closed_ = false;
};

}  // namespace runtime
