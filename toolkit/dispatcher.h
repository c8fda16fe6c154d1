#pragma once
// The application's dispatch state: the set of connected message numbers, the
// live windows, the message filters, the pending error, the rules of the
// window procedure and the message loop. Plain C++: the platform layer feeds
// it messages through a wMessagePump and a default-procedure callback.

#include <cstdint>
#include <exception>
#include <functional>
#include <unordered_set>
#include <vector>

#include "toolkit/event_target.h"

namespace toolkit {

// One message as the loop reads it: everything the platform's own record of
// it holds, so that the platform layer can rebuild that record.
struct wMessage {
    void* window = nullptr;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint32_t time = 0;
    wPoint point{};
};

// A message filter returns 0 (not handled: try the next filter), a positive
// value (consumed: read the next message without dispatching this one) or a
// negative one (leave the loop, returning the message's word parameter).
using wMessageFilter = std::function<int(const wMessage&)>;

// Where the loop's messages come from.
class wMessagePump {
public:
    virtual ~wMessagePump() = default;
    // Takes the next message: waits for one when wait is true; otherwise
    // returns false at once when there is none.
    virtual bool next(wMessage& message, bool wait) = 0;
    // Translates and dispatches the message to its window procedure.
    virtual void dispatch(const wMessage& message) = 0;
    // Called when polling found no message.
    virtual void idle() = 0;
};

class wDispatcher {
public:
    wDispatcher() = default;
    wDispatcher(const wDispatcher&) = delete;
    wDispatcher& operator=(const wDispatcher&) = delete;

    // The set of message numbers with at least one connection on any window.
    void connect(std::int32_t message) { connected_.insert(message); }
    bool isConnected(std::int32_t message) const { return connected_.count(message) != 0; }

    // Live windows: the loop is entered only while there is one, and a quit
    // message ends it once none is left.
    void windowCreated(wEventTarget* window);
    void windowDestroyed(wEventTarget* window);
    std::size_t windowCount() const noexcept { return liveWindows_.size(); }

    // Appends a filter; filters run in the order added.
    void addFilter(wMessageFilter filter) { filters_.push_back(std::move(filter)); }
    // The toolkit's quit handling as a filter: WM_QUIT and msgLoopExit end the
    // loop when no window is left; msgLoopExit also ends the running loop
    // whose id is its long parameter; anything else goes on.
    wMessageFilter quitFilter();

    // Blocking (wait for each message) or polling loop; blocking by default.
    void setBlocking(bool blocking) noexcept { blocking_ = blocking; }
    bool isBlocking() const noexcept { return blocking_; }

    // Runs a message loop until a filter ends it and returns the word
    // parameter of the message that ended it; returns 0 at once when no
    // window is live. Rethrows an error that a handler raised, as soon as the
    // dispatch of its message has returned.
    std::uintptr_t runLoop(wMessagePump& pump);
    // Id of the innermost running loop (0 when none runs) and how many run.
    std::intptr_t currentLoopId() const noexcept { return loopIds_.empty() ? 0 : loopIds_.back(); }
    std::size_t loopDepth() const noexcept { return loopIds_.size(); }

    // An error raised inside a window procedure waits here until the code
    // that called into the platform can rethrow it.
    void setPendingError(std::exception_ptr error) noexcept;
    bool hasPendingError() const noexcept { return pending_ != nullptr; }
    // Rethrows the pending error, if any, and clears it.
    void rethrowPendingError();

    // Fills the keyboard state and pointer position of each event made.
    void setEventStamp(void (*stamp)(wEvent&)) noexcept { stamp_ = stamp; }

    // Dispatches an event the toolkit raises itself (mouse enter, a click, a
    // drop) when its message number is connected and no error is pending;
    // stamps it first unless the caller filled its keyboard state and
    // pointer position already. Returns the processed flag. Errors from
    // handlers pass through.
    bool raise(wEvent& event, bool stamp = true);

    // The window procedure's rules for one message: no window → the default
    // procedure; a connected message becomes events that are dispatched;
    // processed → the event's result; otherwise the window's hook, else the
    // default procedure. An error raised by a handler stays pending and the
    // value so far is returned; while an error is pending, messages go
    // straight to the default procedure.
    template <class DefaultProcedure>
    std::intptr_t route(wEventTarget* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                        DefaultProcedure&& defaultProcedure) {
        if (!window || pending_) return defaultProcedure();
        std::intptr_t result = 0;
        try {
            if (dispatchMessage(*window, message, wParam, lParam, result)) return result;
            if (window->defaultProcessing(message, wParam, lParam, result)) return result;
        } catch (...) {
            setPendingError(std::current_exception());
            return result;
        }
        return defaultProcedure();
    }

private:
    // Makes and dispatches the events of a message; true when one of them
    // was processed, with its result.
    bool dispatchMessage(wEventTarget& window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                         std::intptr_t& result);

    std::unordered_set<std::int32_t> connected_;
    std::vector<wEventTarget*> liveWindows_;
    std::vector<wMessageFilter> filters_;
    std::vector<std::intptr_t> loopIds_;
    std::intptr_t lastLoopId_ = 0;
    bool blocking_ = true;
    std::exception_ptr pending_;
    void (*stamp_)(wEvent&) = nullptr;
};

// The event numbers one platform message raises, in order: WM_SIZE becomes
// the size event (restored), the maximise and then the size event
// (maximised), the minimise event alone (minimised) or nothing (other size
// types); every other message keeps its own number.
struct wTranslatedMessage {
    std::int32_t numbers[2] = {0, 0};
    std::size_t count = 0;
};
wTranslatedMessage translateMessage(std::uint32_t message, std::uintptr_t wParam) noexcept;

}  // namespace toolkit
