#pragma once
// A window of the dispatch rules without any platform window behind it.

#include <functional>

#include "toolkit/dispatcher.h"

namespace toolkittest {

class TestWindow : public toolkit::wEventTarget {
public:
    explicit TestWindow(toolkit::wDispatcher& dispatcher, TestWindow* parent = nullptr)
        : wEventTarget(dispatcher), parent_(parent) {}

    toolkit::wEventTarget* eventParent() const noexcept override { return parent_; }

    // The default-processing hook; none when empty.
    std::function<bool(std::uint32_t, std::intptr_t&)> hook;

    bool defaultProcessing(std::uint32_t message, std::uintptr_t, std::intptr_t, std::intptr_t& result) override {
        return hook ? hook(message, result) : false;
    }

private:
    TestWindow* parent_;
};

}  // namespace toolkittest
