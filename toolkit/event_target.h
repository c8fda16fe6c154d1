#pragma once
// The part of a window that event dispatch sees: its connections, its parent
// and its default-processing hook.

#include <concepts>
#include <cstdint>
#include <string>
#include <utility>

#include "runtime/errors.h"
#include "toolkit/connection.h"

namespace toolkit {

class wDispatcher;

class wEventTarget {
public:
    explicit wEventTarget(wDispatcher& dispatcher) noexcept : dispatcher_(dispatcher) {}
    virtual ~wEventTarget() = default;
    wEventTarget(const wEventTarget&) = delete;
    wEventTarget& operator=(const wEventTarget&) = delete;

    wDispatcher& dispatcher() const noexcept { return dispatcher_; }

    // The window that events propagate to next, or null for a top-level one.
    virtual wEventTarget* eventParent() const noexcept = 0;

    // Called for a message that no handler processed. Returns true, with the
    // value for the platform in result, when it handled the message.
    virtual bool defaultProcessing(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam,
                                   std::intptr_t& result);

    // Number of connections on this window for the message (toolkit and user).
    std::size_t connectionCount(std::int32_t message) const;

private:
    friend void bindHandler(wEventTarget&, std::int32_t, wEventHandler, std::uint32_t);
    friend void bindHandler(wEventTarget&, std::int32_t, wPlainHandler, std::uint32_t);
    friend void bindToolkitHandler(wEventTarget&, std::int32_t, wEventHandler);
    friend bool dispatchEvent(wEvent&);

    wDispatcher& dispatcher_;
    wConnectionTable toolkitConnections_;
    wConnectionTable userConnections_;
};

// Appends a user connection for the message to the window, with an id filter
// (0: any event), and adds the message to the application's set. The same
// handler may be bound several times; each binding runs in its turn.
void bindHandler(wEventTarget& window, std::int32_t message, wEventHandler handler, std::uint32_t idFilter = 0);
void bindHandler(wEventTarget& window, std::int32_t message, wPlainHandler handler, std::uint32_t idFilter = 0);

// The same for a handler that takes a derived event class, such as
// bindHandler<wDragDropEvent>(box, evtDrop, onDrop). Raises ValueError when
// the event made for the message is not of that class.
template <std::derived_from<wEvent> Event, std::invocable<Event&> Handler>
void bindHandler(wEventTarget& window, std::int32_t message, Handler handler, std::uint32_t idFilter = 0) {
    wEventHandler checked = [handler = std::move(handler)](wEvent& event) mutable {
        auto* typed = dynamic_cast<Event*>(&event);
        if (!typed)
            throw runtime::ValueError("event " + std::to_string(event.message()) + " is not of the bound class");
        handler(*typed);
    };
    bindHandler(window, message, std::move(checked), idFilter);
}

// Appends one of the toolkit's own connections (a window's built-in
// behaviour). These run before the user's, newest first, and never count as
// processing the event.
void bindToolkitHandler(wEventTarget& window, std::int32_t message, wEventHandler handler);

// Dispatches the event on its window: the toolkit's connections, then the
// user's in order, on the window and, while nothing processed it and the
// propagation level allows, on its parents. Returns whether a handler
// processed it. An error raised by a handler ends the dispatch at once and
// passes through.
bool dispatchEvent(wEvent& event);

}  // namespace toolkit
