#include "toolkit/event.h"

#include "toolkit/message_numbers.h"

namespace toolkit {

namespace {

// The program's link event; ui raises it itself, but a posted one is still a
// command event.
constexpr std::int32_t linkEventNumber = 0x80C1;

bool isDragDropMessage(std::int32_t message) noexcept { return message >= evtDragEnter && message <= evtDrop; }

}  // namespace

wEvent::wEvent(wEventTarget* window, std::int32_t message, std::uintptr_t wParam, std::intptr_t lParam)
    : window_(window), message_(message), wParam_(wParam), lParam_(lParam) {}

wCommandEvent::wCommandEvent(wEventTarget* window, std::int32_t message, std::uintptr_t wParam, std::intptr_t lParam)
    : wEvent(window, message, wParam, lParam) {
    id_ = std::uint32_t(wParam & 0xFFFFu);
    propagationLevel_ = propagateMax;
}

wDragDropEvent::wDragDropEvent(wEventTarget* window, std::int32_t message, std::uintptr_t wParam, std::intptr_t lParam)
    : wEvent(window, message, wParam, lParam) {}

wDragDropEvent::wDragDropEvent(wEventTarget* window, std::int32_t message, const wDataObject* data,
                               std::uint32_t effect, std::uint32_t allowedEffects)
    : wEvent(window, message), data_(data), effect_(effect), allowedEffects_(allowedEffects) {}

std::vector<std::string> wDragDropEvent::fileList() const {
    return data_ ? data_->fileList() : std::vector<std::string>{};
}

bool isCommandMessage(std::int32_t message) noexcept {
    return message == wmCommand || message == evtButton || message == linkEventNumber;
}

std::unique_ptr<wEvent> makeEvent(wEventTarget* window, std::int32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
    if (isCommandMessage(message)) return std::make_unique<wCommandEvent>(window, message, wParam, lParam);
    if (isDragDropMessage(message)) return std::make_unique<wDragDropEvent>(window, message, wParam, lParam);
    return std::make_unique<wEvent>(window, message, wParam, lParam);
}

}  // namespace toolkit
