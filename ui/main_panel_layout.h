#pragma once
// The main panel's layout on the platform's windows: run on every size event
// of the panel, it builds the cached layout once and then suggests the
// current rectangles, solves and moves the controls.

#include <memory>

#include "toolkit/panel_win32.h"
#include "toolkit/window_win32.h"
#include "ui/panel_layout.h"

namespace ui {

// One layout pass of the panel and its controls (windows on the panel).
// When the cache holds no layout of this panel, a new one is stored there
// first (replacing any other) and the controls are registered with their
// constraints; then suggestLayout and applyLayout. A layout stored stays
// cached even when building its constraints fails. Raises what the solver
// raises.
void layoutMainPanel(std::unique_ptr<PanelLayout>& cache, const std::shared_ptr<toolkit::wPanel>& panel,
                     const MainPanelControls& controls);

// Suggests the panel's client size and each registered window's rectangle
// relative to its parent's client area, then solves.
void suggestLayout(PanelLayout& layout);

// Moves and resizes every registered window to its solved rectangle
// (SetWindowPos with SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER).
void applyLayout(PanelLayout& layout);

}  // namespace ui
