#pragma once
// The map from symbols to values used for a row's cells and for the rows of
// the tableau.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "solver/detail/assertion.h"
#include "solver/detail/symbol.h"

namespace solver::detail {

// A flat map whose entries stay in the order of the symbols' serial numbers,
// the order in which the solver made them. That order follows from the
// sequence of calls alone, never from addresses, so the same calls pick the
// same "first" candidate on every run and in every build. It also makes each
// pivot rule that takes the first candidate pick the oldest symbol, which is
// Bland's rule: degenerate pivots cannot cycle (in exact arithmetic).
template <class Value>
class SymbolMap {
public:
    using Entry = std::pair<Symbol, Value>;
    using Entries = std::vector<Entry>;

    bool empty() const noexcept { return entries_.empty(); }
    std::size_t size() const noexcept { return entries_.size(); }
    auto begin() noexcept { return entries_.begin(); }
    auto end() noexcept { return entries_.end(); }
    auto begin() const noexcept { return entries_.begin(); }
    auto end() const noexcept { return entries_.end(); }

    // The value stored under the symbol, or null.
    Value* find(Symbol symbol) noexcept {
        auto it = lowerBound(symbol);
        return it != entries_.end() && it->first == symbol ? &it->second : nullptr;
    }
    const Value* find(Symbol symbol) const noexcept { return const_cast<SymbolMap*>(this)->find(symbol); }
    bool contains(Symbol symbol) const noexcept { return find(symbol) != nullptr; }

    // Stores the value under the symbol, replacing any value stored there.
    Value& assign(Symbol symbol, Value value) {
        auto it = lowerBound(symbol);
        if (it != entries_.end() && it->first == symbol) {
            it->second = std::move(value);
            return it->second;
        }
        return entries_.insert(it, Entry{symbol, std::move(value)})->second;
    }

    // Removes the symbol if present; tells whether it was.
    bool erase(Symbol symbol) noexcept {
        auto it = lowerBound(symbol);
        if (it == entries_.end() || it->first != symbol) return false;
        entries_.erase(it);
        return true;
    }

    // Removes the symbol and returns its value. The solver takes only symbols
    // it knows are there: a missing one raises InternalSolverException.
    Value take(Symbol symbol) {
        auto it = lowerBound(symbol);
        if (it == entries_.end() || it->first != symbol) failAssertion("SymbolMap::take", "The symbol is missing.");
        Value value = std::move(it->second);
        entries_.erase(it);
        return value;
    }

    // The entries in order, for merges that walk two maps side by side.
    Entries& entries() noexcept { return entries_; }
    const Entries& entries() const noexcept { return entries_; }

private:
    typename Entries::iterator lowerBound(Symbol symbol) noexcept {
        return std::lower_bound(
            entries_.begin(), entries_.end(), serialOf(symbol),
            [](const Entry& entry, std::uint32_t serial) { return serialOf(entry.first) < serial; });
    }

    Entries entries_;
};

}  // namespace solver::detail
