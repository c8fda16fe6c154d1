#pragma once
// The map keyed by shared objects (variables, constraints), by identity.

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace solver::detail {

// Entries in insertion order, each holding a reference to its key object so
// that the object, and with it the address that identifies it, lives as long
// as the entry. The hash index only finds entries; iteration walks the
// entries, so its order never depends on addresses. Entries are never removed:
// the solver has no operation that takes a constraint or an edit back.
template <class Object, class Value>
class IdentityMap {
public:
    struct Entry {
        std::shared_ptr<Object> key;
        Value value;
    };

    std::size_t size() const noexcept { return entries_.size(); }
    auto begin() noexcept { return entries_.begin(); }
    auto end() noexcept { return entries_.end(); }
    auto begin() const noexcept { return entries_.begin(); }
    auto end() const noexcept { return entries_.end(); }

    // The value stored for the object, or null.
    Value* find(const Object* key) noexcept {
        auto it = index_.find(key);
        return it == index_.end() ? nullptr : &entries_[it->second].value;
    }
    const Value* find(const Object* key) const noexcept { return const_cast<IdentityMap*>(this)->find(key); }

    // Adds an entry for an object that has none yet; returns its value.
    Value& insert(std::shared_ptr<Object> key, Value value) {
        const Object* address = key.get();
        entries_.push_back(Entry{std::move(key), std::move(value)});
        try {
            index_.emplace(address, entries_.size() - 1);
        } catch (...) {
            entries_.pop_back();
            throw;
        }
        return entries_.back().value;
    }

private:
    std::vector<Entry> entries_;
    std::unordered_map<const Object*, std::size_t> index_;
};

}  // namespace solver::detail
