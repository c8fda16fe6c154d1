#pragma once
// The layout of a panel's controls by linear equalities between their edges,
// solved by the constraint solver. This part is plain C++ over the windows'
// layout variables: where a window is now and how it is moved come in from
// the caller, so the platform layer stays outside (main_panel_layout.h).

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "solver/solver.h"
#include "toolkit/geometry.h"
#include "toolkit/resizable.h"

namespace ui {

// Edit strengths: the panel's own variables just below required, so that the
// panel's size always wins; the controls keep their place weakly and their
// size a little less weakly, which makes sizes sticky from pass to pass.
inline constexpr double panelEditStrength = 1001000999.0;
inline constexpr double positionEditStrength = 0.01;
inline constexpr double sizeEditStrength = 0.1;

// The cached layout of one panel: its solver and the windows registered with
// it, in registration order. Made once, on the panel's first size event.
struct PanelLayout {
    std::shared_ptr<toolkit::wResizable> panel;
    solver::Solver solver;
    std::vector<std::shared_ptr<toolkit::wResizable>> windows;
};

// A new layout for the panel: a fresh solver with the panel's four variables
// as edit variables at panelEditStrength. Raises what the solver raises.
std::unique_ptr<PanelLayout> newPanelLayout(std::shared_ptr<toolkit::wResizable> panel);

// Adds the window to the layout (once) and makes each of its four variables
// that is not an edit variable yet one: left and top at positionEditStrength,
// width and height at sizeEditStrength. Raises what the solver raises.
void registerWindow(PanelLayout& layout, const std::shared_ptr<toolkit::wResizable>& window);

// The controls of the program's main panel, in the order they are registered.
struct MainPanelControls {
    std::shared_ptr<toolkit::wResizable> helpText;
    std::shared_ptr<toolkit::wResizable> homeLink;
    std::shared_ptr<toolkit::wResizable> openFolderButton;
    std::shared_ptr<toolkit::wResizable> openFileButton;
    std::shared_ptr<toolkit::wResizable> contactLink;
};

// Registers the five controls and adds the sixteen required equalities of
// the main panel: the text box across the panel's full width from its top,
// below it one row down to the panel's bottom edge holding the home link 15
// pixels from the left, the two buttons and the contact link ending 18
// pixels from the right, 10 pixels apart. Raises what the solver raises
// (UnsatisfiableConstraintException, DuplicateConstraintException).
void addMainPanelConstraints(PanelLayout& layout, const MainPanelControls& controls);

// Where a registered window is now, relative to its parent's client area.
using CurrentRect = std::function<toolkit::wRect(const toolkit::wResizable& window)>;
// Moves a registered window to the rectangle (a coordinate of
// wDefaultCoordinate stays as it is).
using PlaceWindow = std::function<void(toolkit::wResizable& window, toolkit::wRect rect)>;

// Suggests the panel at (0, 0) with its client size, then every registered
// window at its current rectangle, and writes the solution into the
// variables. Raises what the solver raises (ValueError for a value that is
// not finite).
void suggestLayout(PanelLayout& layout, toolkit::wSize panelClientSize, const CurrentRect& currentRect);

// Moves every registered window to its solved rectangle (solvedRect).
void applyLayout(PanelLayout& layout, const PlaceWindow& place);

// A solved value as a pixel coordinate: rounded to the nearest integer with
// halves away from zero (2.5 gives 3, -2.5 gives -3); a value outside the
// signed 32-bit range, or not a number, becomes wDefaultCoordinate
// (0x80000000), which leaves that coordinate of the window as it is.
std::int32_t layoutCoordinate(double value);

// The window's four variables as a rectangle of layout coordinates.
toolkit::wRect solvedRect(const toolkit::wResizable& window);

}  // namespace ui
