#include "toolkit/event_target.h"

#include "toolkit/dispatcher.h"

namespace toolkit {

namespace {

void append(wConnectionTable& table, wConnection connection) {
    const std::int32_t message = connection.message;
    table[message].push_back(std::make_shared<const wConnection>(std::move(connection)));
}

// Runs one connection; returns the processed flag it leaves.
bool run(const wConnection& connection, wEvent& event) {
    event.skip(false);
    if (connection.withEvent) {
        connection.withEvent(event);
        return !event.isSkipped();
    }
    connection.withoutEvent();
    return true;
}

const wConnectionList* find(const wConnectionTable& table, std::int32_t message) {
    auto it = table.find(message);
    return it == table.end() ? nullptr : &it->second;
}

}  // namespace

bool wEventTarget::defaultProcessing(std::uint32_t, std::uintptr_t, std::intptr_t, std::intptr_t&) { return false; }

std::size_t wEventTarget::connectionCount(std::int32_t message) const {
    std::size_t count = 0;
    if (auto* list = find(toolkitConnections_, message)) count += list->size();
    if (auto* list = find(userConnections_, message)) count += list->size();
    return count;
}

void bindHandler(wEventTarget& window, std::int32_t message, wEventHandler handler, std::uint32_t idFilter) {
    append(window.userConnections_, wConnection{message, idFilter, std::move(handler), {}});
    window.dispatcher_.connect(message);
}

void bindHandler(wEventTarget& window, std::int32_t message, wPlainHandler handler, std::uint32_t idFilter) {
    append(window.userConnections_, wConnection{message, idFilter, {}, std::move(handler)});
    window.dispatcher_.connect(message);
}

void bindToolkitHandler(wEventTarget& window, std::int32_t message, wEventHandler handler) {
    append(window.toolkitConnections_, wConnection{message, 0, std::move(handler), {}});
    window.dispatcher_.connect(message);
}

bool dispatchEvent(wEvent& event) {
    wEventTarget* target = event.window();
    if (!target) return false;
    const std::int32_t message = event.message();
    const std::uint32_t id = event.id();

    // Lists are indexed afresh on every step (never iterated by iterator):
    // a handler may bind further handlers, which can reallocate the list.
    if (auto* list = find(target->toolkitConnections_, message)) {
        for (std::size_t i = list->size(); i-- > 0;) {
            std::shared_ptr<const wConnection> connection = (*list)[i];
            run(*connection, event);
        }
    }

    bool processed = false;
    for (wEventTarget* window = target;;) {
        if (auto* list = find(window->userConnections_, message)) {
            for (std::size_t i = 0; i < list->size() && !processed; ++i) {
                std::shared_ptr<const wConnection> connection = (*list)[i];
                if (connection->idFilter != 0 && connection->idFilter != id) continue;
                processed = run(*connection, event);
            }
        }
        wEventTarget* parent = window->eventParent();
        if (!parent || processed || event.propagationLevel() <= 0) break;
        event.setPropagationLevel(event.propagationLevel() - 1);
        window = parent;
    }
    return processed;
}

}  // namespace toolkit
