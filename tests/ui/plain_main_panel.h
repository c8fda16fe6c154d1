#pragma once
// The program's main panel laid out by the real ui code on windows without a
// platform behind them: each sits where the last pass placed it, as a moved
// window would. Shared by the layout tests and the solver benchmark.

#include <array>
#include <cstddef>
#include <memory>

#include "toolkit/geometry.h"
#include "toolkit/resizable.h"
#include "ui/panel_layout.h"

namespace uitest {

struct PlainWindow : toolkit::wResizable {
    explicit PlainWindow(toolkit::wRect at) : rect(at) {}
    toolkit::wRect rect;
};

// The panel's controls in the order they are registered.
enum Control : std::size_t { helpText, homeLink, openFolderButton, openFileButton, contactLink, controlCount };

using CreationRects = std::array<toolkit::wRect, controlCount>;

// Plausible creation sizes: a 120-pixel text box three combo boxes high,
// 75 x 23 buttons and two links at their best widths.
inline constexpr CreationRects defaultCreationRects{
    {{0, 0, 120, 69}, {0, 0, 92, 23}, {0, 0, 75, 23}, {0, 0, 75, 23}, {0, 0, 110, 23}}};

class PlainMainPanel {
public:
    // The panel's layout with the main panel's constraints, each control at
    // its creation rectangle. Raises what the solver raises.
    explicit PlainMainPanel(const CreationRects& creation = defaultCreationRects);

    // One pass as the window runs it on a size event: suggest where the
    // windows are, solve, move them.
    void pass(toolkit::wSize client);

    PlainWindow& window(Control control) const { return *controls_[control]; }
    const PlainWindow& panel() const { return *panel_; }
    ui::PanelLayout& layout() const { return *layout_; }

private:
    std::shared_ptr<PlainWindow> panel_ = std::make_shared<PlainWindow>(toolkit::wRect{});
    std::array<std::shared_ptr<PlainWindow>, controlCount> controls_;
    std::unique_ptr<ui::PanelLayout> layout_;
};

}  // namespace uitest
