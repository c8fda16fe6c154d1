#include "app/gui/frame_placement.h"

#include <cstdint>

namespace app {

std::optional<toolkit::wPoint> mainFramePosition(toolkit::wSize screenSize, toolkit::wSize frameSize) {
    constexpr std::int64_t inset = 100;
    const std::int64_t x = std::int64_t(screenSize.width) - frameSize.width - inset;
    const std::int64_t y = std::int64_t(screenSize.height) - frameSize.height - inset;
    if (x <= inset || y <= inset) return std::nullopt;
    return toolkit::wPoint{std::int32_t(x), std::int32_t(y)};
}

}  // namespace app
