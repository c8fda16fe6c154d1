#pragma once
// Where the main window goes on the screen.

#include <optional>

#include "toolkit/geometry.h"

namespace app {

// The top-left corner that puts the frame's right and bottom edges 100
// pixels inside the screen's, or nothing when that corner would lie within
// 100 pixels of the screen's left or top edge (a small screen): the frame is
// then centred instead.
std::optional<toolkit::wPoint> mainFramePosition(toolkit::wSize screenSize, toolkit::wSize frameSize);

}  // namespace app
