#include "tests/ui/plain_main_panel.h"

namespace uitest {

using toolkit::wDefaultCoordinate;
using toolkit::wRect;
using toolkit::wResizable;

PlainMainPanel::PlainMainPanel(const CreationRects& creation) {
    for (std::size_t i = 0; i < controlCount; ++i) controls_[i] = std::make_shared<PlainWindow>(creation[i]);
    layout_ = ui::newPanelLayout(panel_);
    ui::addMainPanelConstraints(
        *layout_, ui::MainPanelControls{controls_[helpText], controls_[homeLink], controls_[openFolderButton],
                                        controls_[openFileButton], controls_[contactLink]});
}

void PlainMainPanel::pass(toolkit::wSize client) {
    ui::suggestLayout(*layout_, client, [](const wResizable& w) { return static_cast<const PlainWindow&>(w).rect; });
    // A coordinate the layout cannot express leaves the window's as it is,
    // as a real move does.
    ui::applyLayout(*layout_, [](wResizable& w, wRect to) {
        wRect& at = static_cast<PlainWindow&>(w).rect;
        if (to.x != wDefaultCoordinate) at.x = to.x;
        if (to.y != wDefaultCoordinate) at.y = to.y;
        if (to.width != wDefaultCoordinate) at.width = to.width;
        if (to.height != wDefaultCoordinate) at.height = to.height;
    });
}

}  // namespace uitest
