// The main window's own system: the panel and five controls tied by sixteen
// required equalities, laid out again for every panel size.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "tests/solver/window_system.h"

namespace {

using namespace solvertest;

constexpr double tolerance = 1e-9;

// What the arrangement promises for a panel of the given size, checked on
// the given rectangles (solved or placed).
template <class RectOf>
void expectArrangement(RectOf rectOf, double width, double height, double slack) {
    Rect text = rectOf(helpText);
    EXPECT_NEAR(text.left, 0.0, slack);
    EXPECT_NEAR(text.top, 0.0, slack);
    EXPECT_NEAR(text.width, width, slack);

    const Control row[] = {homeLink, openFolderButton, openFileButton, contactLink};
    EXPECT_NEAR(rectOf(homeLink).left, 15.0, slack);
    for (int i = 1; i < 4; ++i) {
        Rect previous = rectOf(row[i - 1]);
        EXPECT_NEAR(rectOf(row[i]).left - (previous.left + previous.width), 10.0, slack) << "gap before " << i;
    }
    Rect contact = rectOf(contactLink);
    EXPECT_NEAR(width - (contact.left + contact.width), 18.0, slack);
    for (Control control : row) {
        Rect r = rectOf(control);
        EXPECT_NEAR(r.top, text.top + text.height, slack) << "control " << control;
        EXPECT_NEAR(r.top + r.height, height, slack) << "control " << control;
    }
}

void expectLaidOut(const WindowSystem& system, double width, double height) {
    expectArrangement([&](Control c) { return system.solved(c); }, width, height, tolerance);
    // Whole-pixel panels give whole-pixel solutions, so rounding keeps every
    // relation exactly.
    expectArrangement([&](Control c) { return system.placed(c); }, width, height, 0.0);
    Rect panel = system.solvedPanel();
    EXPECT_EQ(panel, (Rect{0.0, 0.0, width, height}));
}

TEST(WindowLayout, EveryPanelSizeKeepsMarginsGapsAndTheBottomRow) {
    WindowSystem system(defaultCreationRects());
    const std::pair<double, double> sizes[] = {{600, 300}, {800, 450}, {640, 360}, {1920, 1000},
                                               {300, 200}, {333, 111}, {600, 300}};
    for (auto [width, height] : sizes) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        system.layout(width, height);
        expectLaidOut(system, width, height);
    }
}

TEST(WindowLayout, SizesAreStickyTheTextBoxTakesTheHeightAndTheContactLinkTheWidth) {
    WindowSystem system(defaultCreationRects());
    system.layout(600, 300);
    std::vector<Rect> before;
    for (std::size_t c = 0; c < controlCount; ++c) before.push_back(system.placed(Control(c)));

    // Growing costs least where no other control has to move: the last row
    // control's width and the text box's height.
    system.layout(700, 350);
    EXPECT_EQ(system.placed(helpText).height, before[helpText].height + 50);
    EXPECT_EQ(system.placed(contactLink).width, before[contactLink].width + 100);
    for (Control c : {homeLink, openFolderButton, openFileButton}) {
        EXPECT_EQ(system.placed(c).width, before[c].width) << "control " << c;
        EXPECT_EQ(system.placed(c).height, before[c].height) << "control " << c;
        EXPECT_EQ(system.placed(c).left, before[c].left) << "control " << c;
    }
    system.layout(600, 300);
    for (std::size_t c = 0; c < controlCount; ++c) EXPECT_EQ(system.placed(Control(c)), before[c]) << "control " << c;
}

TEST(WindowLayout, TheSameSizeAgainGivesTheSameRectangles) {
    WindowSystem system(defaultCreationRects());
    system.layout(640, 480);
    system.layout(640, 480);
    std::vector<std::uint64_t> first;
    for (std::size_t c = 0; c < controlCount; ++c) {
        Rect r = system.solved(Control(c));
        for (double v : {r.left, r.top, r.width, r.height}) first.push_back(std::bit_cast<std::uint64_t>(v));
    }
    system.layout(640, 480);
    std::vector<std::uint64_t> second;
    for (std::size_t c = 0; c < controlCount; ++c) {
        Rect r = system.solved(Control(c));
        for (double v : {r.left, r.top, r.width, r.height}) second.push_back(std::bit_cast<std::uint64_t>(v));
    }
    EXPECT_EQ(first, second);
}

TEST(WindowLayout, APanelNarrowerThanTheGapsStillSolves) {
    // 15 + 3 × 10 + 18 = 63 pixels of margins and gaps; nothing bounds a
    // width from below, so a row width goes negative.
    WindowSystem system(defaultCreationRects());
    system.layout(600, 300);
    system.layout(50, 40);
    expectLaidOut(system, 50, 40);
    double smallest = 0.0;
    for (Control c : {homeLink, openFolderButton, openFileButton, contactLink})
        smallest = std::min(smallest, system.placed(c).width);
    EXPECT_LT(smallest, 0.0);
    system.layout(600, 300);
    expectLaidOut(system, 600, 300);
}

TEST(WindowLayout, TheFirstPassStartsFromTheCreationSizes) {
    // A panel that fits the row's creation sizes exactly keeps them: widths
    // 92 + 75 + 75 + 110 plus 63 of gaps, height 69 + 23. Only the text box
    // must stretch to the panel's width.
    std::array<Rect, controlCount> creation = defaultCreationRects();
    WindowSystem system(creation);
    system.layout(415, 92);
    expectLaidOut(system, 415, 92);
    EXPECT_EQ(system.placed(helpText).height, creation[helpText].height);
    for (Control c : {homeLink, openFolderButton, openFileButton, contactLink}) {
        EXPECT_EQ(system.placed(c).width, creation[c].width) << "control " << c;
        EXPECT_EQ(system.placed(c).height, creation[c].height) << "control " << c;
    }
}

TEST(WindowLayout, EveryVariableIsAnEditVariable) {
    WindowSystem system(defaultCreationRects());
    auto all = [](const WindowVariables& w) { return std::vector{w.left, w.top, w.width, w.height}; };
    for (const auto& v : all(system.panelVariables())) EXPECT_TRUE(solver::isEditVariable(system.solver(), v));
    for (std::size_t c = 0; c < controlCount; ++c)
        for (const auto& v : all(system.variables(Control(c)))) EXPECT_TRUE(solver::isEditVariable(system.solver(), v));
}

}  // namespace
