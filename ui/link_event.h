#pragma once
// wMyLinkEvent: raised by a wHyperlink on a completed click. A handler that
// processes it and sets its result to 1 keeps the link from being opened.

#include <cstdint>

#include "toolkit/event.h"

namespace ui {

inline constexpr std::int32_t evtMyLink = 0x80C1;

class wMyLinkEvent : public toolkit::wCommandEvent {
public:
    explicit wMyLinkEvent(toolkit::wEventTarget* window) : wCommandEvent(window, evtMyLink, 0, 0) {}
};

}  // namespace ui
