#pragma once
// The base of every window: four solver variables that a layout places.

#include "solver/variable.h"

namespace toolkit {

class wResizable {
public:
    wResizable();
    virtual ~wResizable() = default;
    wResizable(const wResizable&) = delete;
    wResizable& operator=(const wResizable&) = delete;

    // Left, top, width and height in pixels, relative to the parent's client
    // area. Shared with every layout that registers the window.
    const solver::VariableRef& left() const noexcept { return left_; }
    const solver::VariableRef& top() const noexcept { return top_; }
    const solver::VariableRef& width() const noexcept { return width_; }
    const solver::VariableRef& height() const noexcept { return height_; }

private:
    solver::VariableRef left_;
    solver::VariableRef top_;
    solver::VariableRef width_;
    solver::VariableRef height_;
};

}  // namespace toolkit
