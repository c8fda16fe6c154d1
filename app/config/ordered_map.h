#pragma once
// A map from text keys that remembers the order in which keys were first
// stored. Storing a key again replaces its value and keeps its place.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace app {

template <typename Value>
class OrderedMap {
public:
    using Entry = std::pair<std::string, Value>;

    // The value under key, or nullptr.
    const Value* find(std::string_view key) const {
        const auto found = index_.find(key);
        return found == index_.end() ? nullptr : &entries_[found->second].second;
    }
    Value* find(std::string_view key) { return const_cast<Value*>(static_cast<const OrderedMap&>(*this).find(key)); }

    // The value under key, stored first (empty) when the key is new.
    Value& operator[](const std::string& key) {
        const auto [found, isNew] = index_.try_emplace(key, entries_.size());
        if (isNew) entries_.emplace_back(key, Value{});
        return entries_[found->second].second;
    }

    void set(const std::string& key, Value value) { (*this)[key] = std::move(value); }

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

private:
    // Lets find() look up a string_view without copying it into a string.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };

    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t, TextHash, std::equal_to<>> index_;
};

}  // namespace app
