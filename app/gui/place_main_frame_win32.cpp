#include <windows.h>

#include "app/gui/frame_placement.h"
#include "app/gui/main_window.h"

namespace app {

void placeMainFrame(MainWindow& window) {
    // The full screen, task bar included: the work area is not used.
    const toolkit::wSize screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (const auto position = mainFramePosition(screen, window.mainFrame->size()))
        window.mainFrame->move(*position);
    else
        window.mainFrame->center();
}

}  // namespace app
