#include "tests/solver/window_system.h"

#include <cmath>

namespace solvertest {

namespace {

using solver::ExpressionRef;
using solver::VariableRef;

// variable + constant
ExpressionRef side(const VariableRef& variable, double constant = 0.0) {
    return solver::expressionOfTerm(solver::makeTerm(variable, 1.0), constant);
}

// first + second + constant
ExpressionRef side(const VariableRef& first, const VariableRef& second, double constant = 0.0) {
    ExpressionRef sum = solver::expressionOfTerms(solver::makeTerm(first, 1.0), solver::makeTerm(second, 1.0));
    return constant == 0.0 ? sum : solver::offsetExpression(sum, constant);
}

}  // namespace

WindowSystem::WindowSystem(const std::array<Rect, controlCount>& creationRects) : current_(creationRects) {
    solver::addEditVariable(solver_, panel_.left, panelStrength);
    solver::addEditVariable(solver_, panel_.top, panelStrength);
    solver::addEditVariable(solver_, panel_.width, panelStrength);
    solver::addEditVariable(solver_, panel_.height, panelStrength);

    // The sixteen required equalities, in the order the window adds them,
    // each control registered just before its own.
    const WindowVariables& p = panel_;
    const WindowVariables& text = controls_[helpText];
    const WindowVariables& home = controls_[homeLink];
    const WindowVariables& folder = controls_[openFolderButton];
    const WindowVariables& file = controls_[openFileButton];
    const WindowVariables& contact = controls_[contactLink];

    registerWindow(text);
    require(side(text.left), side(p.left));
    require(side(text.left, text.width), side(p.left, p.width));
    require(side(text.top), side(p.top));

    registerWindow(home);
    require(side(p.left, 15.0), side(home.left));
    require(side(text.top, text.height), side(home.top));
    require(side(home.top, home.height), side(p.top, p.height));

    registerWindow(folder);
    require(side(home.left, home.width, 10.0), side(folder.left));
    require(side(text.top, text.height), side(folder.top));
    require(side(folder.top, folder.height), side(p.top, p.height));

    registerWindow(file);
    require(side(folder.left, folder.width, 10.0), side(file.left));
    require(side(text.top, text.height), side(file.top));
    require(side(file.top, file.height), side(p.top, p.height));

    registerWindow(contact);
    require(side(file.left, file.width, 10.0), side(contact.left));
    require(side(contact.left, contact.width), side(p.left, p.width, -18.0));
    require(side(text.top, text.height), side(contact.top));
    require(side(contact.top, contact.height), side(p.top, p.height));
}

void WindowSystem::registerWindow(const WindowVariables& window) {
    const double strengths[] = {positionStrength, positionStrength, sizeStrength, sizeStrength};
    const VariableRef* variables[] = {&window.left, &window.top, &window.width, &window.height};
    for (int i = 0; i < 4; ++i)
        if (!solver::isEditVariable(solver_, *variables[i]))
            solver::addEditVariable(solver_, *variables[i], strengths[i]);
}

void WindowSystem::require(const ExpressionRef& left, const ExpressionRef& right) {
    solver::addConstraint(solver_,
                          solver::makeConstraint(solver::addExpressions(left, solver::scaleExpression(right, -1.0)),
                                                 solver::relEqual, solver::requiredStrength));
}

void WindowSystem::layout(double panelWidth, double panelHeight) {
    solver::suggestValue(solver_, panel_.left, 0.0);
    solver::suggestValue(solver_, panel_.top, 0.0);
    solver::suggestValue(solver_, panel_.width, panelWidth);
    solver::suggestValue(solver_, panel_.height, panelHeight);
    for (std::size_t i = 0; i < controlCount; ++i) {
        solver::suggestValue(solver_, controls_[i].left, current_[i].left);
        solver::suggestValue(solver_, controls_[i].top, current_[i].top);
        solver::suggestValue(solver_, controls_[i].width, current_[i].width);
        solver::suggestValue(solver_, controls_[i].height, current_[i].height);
    }
    solver::refreshVariableValues(solver_);
    for (std::size_t i = 0; i < controlCount; ++i) {
        Rect solvedRect = controls_[i].values();
        current_[i] = {std::round(solvedRect.left), std::round(solvedRect.top), std::round(solvedRect.width),
                       std::round(solvedRect.height)};
    }
}

std::array<Rect, controlCount> defaultCreationRects() {
    std::array<Rect, controlCount> rects;
    rects[helpText] = {0, 0, 120, 69};
    rects[homeLink] = {0, 0, 92, 23};
    rects[openFolderButton] = {0, 0, 75, 23};
    rects[openFileButton] = {0, 0, 75, 23};
    rects[contactLink] = {0, 0, 110, 23};
    return rects;
}

}  // namespace solvertest
