#include "ui/panel_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ui {

namespace {

using solver::ExpressionRef;
using solver::VariableRef;

// variable + constant: one side of an equality.
ExpressionRef side(const VariableRef& variable, double constant = 0.0) {
    return solver::expressionOfTerm(solver::makeTerm(variable, 1.0), constant);
}

// first + second + constant.
ExpressionRef side(const VariableRef& first, const VariableRef& second, double constant = 0.0) {
    ExpressionRef sum = solver::expressionOfTerms(solver::makeTerm(first, 1.0), solver::makeTerm(second, 1.0));
    return constant == 0.0 ? sum : solver::offsetExpression(sum, constant);
}

// left = right, required: left - right = 0.
void require(PanelLayout& layout, const ExpressionRef& left, const ExpressionRef& right) {
    const ExpressionRef difference = solver::addExpressions(left, solver::scaleExpression(right, -1.0));
    solver::addConstraint(layout.solver,
                          solver::makeConstraint(difference, solver::relEqual, solver::requiredStrength));
}

void suggestRect(PanelLayout& layout, const toolkit::wResizable& window, toolkit::wRect rect) {
    solver::suggestValue(layout.solver, window.left(), rect.x);
    solver::suggestValue(layout.solver, window.top(), rect.y);
    solver::suggestValue(layout.solver, window.width(), rect.width);
    solver::suggestValue(layout.solver, window.height(), rect.height);
}

}  // namespace

std::unique_ptr<PanelLayout> newPanelLayout(std::shared_ptr<toolkit::wResizable> panel) {
    auto layout = std::make_unique<PanelLayout>(PanelLayout{std::move(panel), solver::newSolver(), {}});
    layout->windows.reserve(64);
    const toolkit::wResizable& p = *layout->panel;
    for (const VariableRef* variable : {&p.left(), &p.top(), &p.width(), &p.height()})
        solver::addEditVariable(layout->solver, *variable, panelEditStrength);
    return layout;
}

void registerWindow(PanelLayout& layout, const std::shared_ptr<toolkit::wResizable>& window) {
    if (std::find(layout.windows.begin(), layout.windows.end(), window) == layout.windows.end())
        layout.windows.push_back(window);
    const struct {
        const VariableRef& variable;
        double strength;
    } edits[] = {{window->left(), positionEditStrength},
                 {window->top(), positionEditStrength},
                 {window->width(), sizeEditStrength},
                 {window->height(), sizeEditStrength}};
    for (const auto& edit : edits)
        if (!solver::isEditVariable(layout.solver, edit.variable))
            solver::addEditVariable(layout.solver, edit.variable, edit.strength);
}

void addMainPanelConstraints(PanelLayout& layout, const MainPanelControls& controls) {
    const toolkit::wResizable& panel = *layout.panel;
    const toolkit::wResizable& text = *controls.helpText;
    const toolkit::wResizable& home = *controls.homeLink;
    const toolkit::wResizable& folder = *controls.openFolderButton;
    const toolkit::wResizable& file = *controls.openFileButton;
    const toolkit::wResizable& contact = *controls.contactLink;

    // Each control is registered just before its own constraints; the row's
    // controls all start where the text box ends and end at the panel's
    // bottom edge.
    registerWindow(layout, controls.helpText);
    require(layout, side(text.left()), side(panel.left()));
    require(layout, side(text.left(), text.width()), side(panel.left(), panel.width()));
    require(layout, side(text.top()), side(panel.top()));

    registerWindow(layout, controls.homeLink);
    require(layout, side(panel.left(), 15.0), side(home.left()));
    require(layout, side(text.top(), text.height()), side(home.top()));
    require(layout, side(home.top(), home.height()), side(panel.top(), panel.height()));

    registerWindow(layout, controls.openFolderButton);
    require(layout, side(home.left(), home.width(), 10.0), side(folder.left()));
    require(layout, side(text.top(), text.height()), side(folder.top()));
    require(layout, side(folder.top(), folder.height()), side(panel.top(), panel.height()));

    registerWindow(layout, controls.openFileButton);
    require(layout, side(folder.left(), folder.width(), 10.0), side(file.left()));
    require(layout, side(text.top(), text.height()), side(file.top()));
    require(layout, side(file.top(), file.height()), side(panel.top(), panel.height()));

    registerWindow(layout, controls.contactLink);
    require(layout, side(file.left(), file.width(), 10.0), side(contact.left()));
    require(layout, side(contact.left(), contact.width()), side(panel.left(), panel.width(), -18.0));
    require(layout, side(text.top(), text.height()), side(contact.top()));
    require(layout, side(contact.top(), contact.height()), side(panel.top(), panel.height()));
}

void suggestLayout(PanelLayout& layout, toolkit::wSize panelClientSize, const CurrentRect& currentRect) {
    suggestRect(layout, *layout.panel, {0, 0, panelClientSize.width, panelClientSize.height});
    for (const auto& window : layout.windows) suggestRect(layout, *window, currentRect(*window));
    solver::refreshVariableValues(layout.solver);
}

void applyLayout(PanelLayout& layout, const PlaceWindow& place) {
    for (const auto& window : layout.windows) place(*window, solvedRect(*window));
}

std::int32_t layoutCoordinate(double value) {
    const double rounded = std::round(value);  // halves away from zero
    // NaN fails both comparisons and so becomes the marker too.
    if (!(rounded >= double(std::numeric_limits<std::int32_t>::min()) &&
          rounded <= double(std::numeric_limits<std::int32_t>::max())))
        return toolkit::wDefaultCoordinate;
    return std::int32_t(rounded);
}

toolkit::wRect solvedRect(const toolkit::wResizable& window) {
    return {layoutCoordinate(window.left()->value), layoutCoordinate(window.top()->value),
            layoutCoordinate(window.width()->value), layoutCoordinate(window.height()->value)};
}

}  // namespace ui
