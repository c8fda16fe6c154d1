#pragma once
// Event objects. The window procedure makes one per connected message, of the
// class its message number calls for, and releases it after one dispatch.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/geometry.h"

namespace toolkit {

class wEventTarget;

class wEventBase {
public:
    virtual ~wEventBase() = default;

protected:
    wEventBase() = default;
    wEventBase(const wEventBase&) = default;
    wEventBase& operator=(const wEventBase&) = default;
};

class wEvent : public wEventBase {
public:
    wEvent(wEventTarget* window, std::int32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

    wEventTarget* window() const noexcept { return window_; }
    std::int32_t message() const noexcept { return message_; }
    std::uintptr_t wParam() const noexcept { return wParam_; }
    std::intptr_t lParam() const noexcept { return lParam_; }

    // The low 16 bits of the word parameter for command events, else 0.
    std::uint32_t id() const noexcept { return id_; }

    // How many more parents the event may reach: 0x7FFFFFFF for command
    // events, 0 for all others.
    std::int32_t propagationLevel() const noexcept { return propagationLevel_; }
    void setPropagationLevel(std::int32_t level) noexcept { propagationLevel_ = level; }

    // What the window procedure returns to the platform when the event was
    // processed; 0 unless a handler sets it.
    std::int32_t result() const noexcept { return result_; }
    void setResult(std::int32_t result) noexcept { result_ = result; }

    // A handler that skips lets the event go on to the next handler.
    void skip(bool skipped = true) noexcept { skipped_ = skipped; }
    bool isSkipped() const noexcept { return skipped_; }

    // Keyboard state (key* bits) and pointer position in screen coordinates
    // when the event was made.
    std::uint32_t keyState() const noexcept { return keyState_; }
    void setKeyState(std::uint32_t state) noexcept { keyState_ = state; }
    wPoint mousePosition() const noexcept { return mousePosition_; }
    void setMousePosition(wPoint position) noexcept { mousePosition_ = position; }

protected:
    std::uint32_t id_ = 0;
    std::int32_t propagationLevel_ = 0;

private:
    wEventTarget* window_;
    std::int32_t message_;
    std::uintptr_t wParam_;
    std::intptr_t lParam_;
    std::int32_t result_ = 0;
    bool skipped_ = false;
    std::uint32_t keyState_ = 0;
    wPoint mousePosition_{};
};

// Propagation level of command events.
inline constexpr std::int32_t propagateMax = 0x7FFFFFFF;

// An event that goes on to the parents of its window while no handler there
// has processed it: button clicks and other notifications.
class wCommandEvent : public wEvent {
public:
    wCommandEvent(wEventTarget* window, std::int32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
};

// What was dragged: the platform's data object as far as the toolkit reads it.
class wDataObject {
public:
    virtual ~wDataObject() = default;
    // The dropped paths (UTF-8) in the platform's order; empty when the data
    // offers no file list.
    virtual std::vector<std::string> fileList() const = 0;
};

// Drag enter, over, leave and drop on a window registered as a drop target.
class wDragDropEvent : public wEvent {
public:
    wDragDropEvent(wEventTarget* window, std::int32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    wDragDropEvent(wEventTarget* window, std::int32_t message, const wDataObject* data, std::uint32_t effect,
                   std::uint32_t allowedEffects);

    // The drop effect (dropEffect* values) the target answers with.
    std::uint32_t effect() const noexcept { return effect_; }
    void setEffect(std::uint32_t effect) noexcept { effect_ = effect; }
    // The effects the drag source allows.
    std::uint32_t allowedEffects() const noexcept { return allowedEffects_; }

    // The dragged data; null for drag leave.
    const wDataObject* dataObject() const noexcept { return data_; }
    // The dropped paths, empty when the data offers none.
    std::vector<std::string> fileList() const;

private:
    const wDataObject* data_ = nullptr;
    std::uint32_t effect_ = 0;
    std::uint32_t allowedEffects_ = 0;
};

// True for message numbers whose events are command events.
bool isCommandMessage(std::int32_t message) noexcept;

// A new event of the class the message number calls for.
std::unique_ptr<wEvent> makeEvent(wEventTarget* window, std::int32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam);

}  // namespace toolkit
