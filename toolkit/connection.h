#pragma once
// Connections: a handler bound to a message number on one window.

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "toolkit/event.h"

namespace toolkit {

using wEventHandler = std::function<void(wEvent&)>;
using wPlainHandler = std::function<void()>;

// Exactly one of the two handlers is set.
struct wConnection {
    std::int32_t message = 0;
    std::uint32_t idFilter = 0;  // 0: any event; otherwise only events with this id
    wEventHandler withEvent;
    wPlainHandler withoutEvent;
};

// Shared pointers keep a running connection alive while handlers bind more.
using wConnectionList = std::vector<std::shared_ptr<const wConnection>>;
using wConnectionTable = std::unordered_map<std::int32_t, wConnectionList>;

}  // namespace toolkit
