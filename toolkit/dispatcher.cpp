#include "toolkit/dispatcher.h"

#include <algorithm>

#include "toolkit/message_numbers.h"

namespace toolkit {

namespace {

// Keeps the id of a running loop on the stack for exactly as long as it runs.
class LoopScope {
public:
    LoopScope(std::vector<std::intptr_t>& ids, std::intptr_t id) : ids_(ids) { ids_.push_back(id); }
    ~LoopScope() { ids_.pop_back(); }
    LoopScope(const LoopScope&) = delete;
    LoopScope& operator=(const LoopScope&) = delete;

private:
    std::vector<std::intptr_t>& ids_;
};

}  // namespace

wTranslatedMessage translateMessage(std::uint32_t message, std::uintptr_t wParam) noexcept {
    wTranslatedMessage out;
    if (message != std::uint32_t(wmSize)) {
        out.numbers[out.count++] = std::int32_t(message);
        return out;
    }
    switch (wParam) {
        case sizeRestored:
            out.numbers[out.count++] = evtSize;
            break;
        case sizeMaximized:
            out.numbers[out.count++] = evtMaximize;
            out.numbers[out.count++] = evtSize;
            break;
        case sizeMinimized:
            out.numbers[out.count++] = evtMinimize;
            break;
        default:
            break;
    }
    return out;
}

void wDispatcher::windowCreated(wEventTarget* window) {
    if (std::find(liveWindows_.begin(), liveWindows_.end(), window) == liveWindows_.end())
        liveWindows_.push_back(window);
}

void wDispatcher::windowDestroyed(wEventTarget* window) {
    liveWindows_.erase(std::remove(liveWindows_.begin(), liveWindows_.end(), window), liveWindows_.end());
}

wMessageFilter wDispatcher::quitFilter() {
    return [this](const wMessage& message) {
        if (message.message != std::uint32_t(wmQuit) && message.message != std::uint32_t(msgLoopExit)) return 0;
        if (windowCount() == 0) return -1;
        if (message.message == std::uint32_t(msgLoopExit) && message.lParam == currentLoopId()) return -1;
        return 0;
    };
}

void wDispatcher::setPendingError(std::exception_ptr error) noexcept {
    // The first error wins: later ones are consequences of the dispatch it
    // broke off.
    if (!pending_) pending_ = std::move(error);
}

void wDispatcher::rethrowPendingError() {
    if (!pending_) return;
    std::exception_ptr error = std::move(pending_);
    pending_ = nullptr;
    std::rethrow_exception(error);
}

bool wDispatcher::raise(wEvent& event, bool stamp) {
    if (pending_ || !isConnected(event.message())) return false;
    if (stamp && stamp_) stamp_(event);
    return dispatchEvent(event);
}

bool wDispatcher::dispatchMessage(wEventTarget& window, std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam, std::intptr_t& result) {
    const wTranslatedMessage translated = translateMessage(message, wParam);
    bool processed = false;
    for (std::size_t i = 0; i < translated.count; ++i) {
        const std::int32_t number = translated.numbers[i];
        if (!isConnected(number)) continue;
        std::unique_ptr<wEvent> event = makeEvent(&window, number, wParam, lParam);
        if (stamp_) stamp_(*event);
        try {
            if (dispatchEvent(*event)) {
                processed = true;
                result = event->result();
            }
        } catch (...) {
            result = event->result();
            throw;
        }
    }
    return processed;
}

std::uintptr_t wDispatcher::runLoop(wMessagePump& pump) {
    if (windowCount() == 0) return 0;
    LoopScope scope(loopIds_, ++lastLoopId_);
    for (;;) {
        wMessage message;
        if (!pump.next(message, blocking_)) {
            pump.idle();
            continue;
        }
        int verdict = 0;
        // Indexed: a filter may add filters.
        for (std::size_t i = 0; i < filters_.size() && verdict == 0; ++i) verdict = filters_[i](message);
        // Some filters dispatch the message themselves (dialog navigation).
        rethrowPendingError();
        if (verdict < 0) return message.wParam;
        if (verdict > 0) continue;
        pump.dispatch(message);
        rethrowPendingError();
    }
}

}  // namespace toolkit
