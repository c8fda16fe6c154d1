#include "ui/main_panel_layout.h"

namespace ui {

namespace {

// Only windows have a rectangle to suggest or a place to move to; anything
// else registered keeps its variables to itself.
toolkit::wWindow* asWindow(toolkit::wResizable& resizable) { return dynamic_cast<toolkit::wWindow*>(&resizable); }
const toolkit::wWindow* asWindow(const toolkit::wResizable& resizable) {
    return dynamic_cast<const toolkit::wWindow*>(&resizable);
}

}  // namespace

void layoutMainPanel(std::unique_ptr<PanelLayout>& cache, const std::shared_ptr<toolkit::wPanel>& panel,
                     const MainPanelControls& controls) {
    if (!cache || cache->panel != panel) {
        cache = newPanelLayout(panel);
        addMainPanelConstraints(*cache, controls);
    }
    suggestLayout(*cache);
    applyLayout(*cache);
}

void suggestLayout(PanelLayout& layout) {
    toolkit::wSize client{};
    if (auto* panel = asWindow(*layout.panel)) client = panel->clientSize();
    suggestLayout(layout, client, [](const toolkit::wResizable& resizable) {
        const toolkit::wWindow* window = asWindow(resizable);
        return window ? window->rect() : solvedRect(resizable);
    });
}

void applyLayout(PanelLayout& layout) {
    applyLayout(layout, [](toolkit::wResizable& resizable, toolkit::wRect rect) {
        if (auto* window = asWindow(resizable)) window->setRect(rect);
    });
}

}  // namespace ui
