#pragma once
// The main window's own constraint system, built the way the window's layout
// builds it: the panel and five controls, their edit variables and the
// sixteen required equalities in order. Shared by the tests and the benchmark.

#include <array>
#include <cstddef>

#include "solver/solver.h"

namespace solvertest {

struct Rect {
    double left = 0.0, top = 0.0, width = 0.0, height = 0.0;
    bool operator==(const Rect&) const = default;
};

struct WindowVariables {
    solver::VariableRef left = solver::makeVariable(0.0);
    solver::VariableRef top = solver::makeVariable(0.0);
    solver::VariableRef width = solver::makeVariable(0.0);
    solver::VariableRef height = solver::makeVariable(0.0);

    Rect values() const { return {left->value, top->value, width->value, height->value}; }
};

// The controls on the panel, in the order in which they are registered.
enum Control : std::size_t { helpText, homeLink, openFolderButton, openFileButton, contactLink, controlCount };

// Edit strengths: the panel just below required; controls keep their place
// weakly and their size a little less weakly.
inline constexpr double panelStrength = 1001000999.0;
inline constexpr double positionStrength = 0.01;
inline constexpr double sizeStrength = 0.1;

class WindowSystem {
public:
    // Builds the system; the controls start at the given rectangles, their
    // creation sizes.
    explicit WindowSystem(const std::array<Rect, controlCount>& creationRects);

    // One layout pass for a panel of the given client size: 24 suggestions
    // (the panel, then each control's current rectangle), a refresh, then the
    // rounded values become the controls' current rectangles, as moving the
    // windows would make them.
    void layout(double panelWidth, double panelHeight);

    // The solved values of the last pass, before rounding.
    Rect solved(Control control) const { return controls_[control].values(); }
    Rect solvedPanel() const { return panel_.values(); }
    // The rectangle a control was placed at by the last pass.
    Rect placed(Control control) const { return current_[control]; }

    solver::Solver& solver() { return solver_; }
    const WindowVariables& variables(Control control) const { return controls_[control]; }
    const WindowVariables& panelVariables() const { return panel_; }

private:
    void registerWindow(const WindowVariables& window);
    void require(const solver::ExpressionRef& left, const solver::ExpressionRef& right);

    solver::Solver solver_ = solver::newSolver();
    WindowVariables panel_;
    std::array<WindowVariables, controlCount> controls_;
    std::array<Rect, controlCount> current_;
};

// Plausible creation sizes: a 120-pixel text box three combo boxes high,
// 75 × 23 buttons and two links at their best widths.
std::array<Rect, controlCount> defaultCreationRects();

}  // namespace solvertest
