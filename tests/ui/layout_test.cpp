// The main panel's layout by the real ui code on plain windows: the sixteen
// equalities at many panel sizes, sticky sizes, narrow panels, registration,
// and the rounding of solved values into pixel coordinates.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

#include "solver/solver.h"
#include "tests/ui/plain_main_panel.h"
#include "ui/panel_layout.h"

using toolkit::wDefaultCoordinate;
using toolkit::wRect;
using toolkit::wResizable;
using toolkit::wSize;
using namespace uitest;

namespace {

constexpr Control rowControls[] = {homeLink, openFolderButton, openFileButton, contactLink};

std::vector<const solver::VariableRef*> variablesOf(const wResizable& w) {
    return {&w.left(), &w.top(), &w.width(), &w.height()};
}

// What the layout promises for a panel of this client size.
void expectArrangement(const PlainMainPanel& main, wSize client) {
    const wRect text = main.window(helpText).rect;
    EXPECT_EQ(text.x, 0);
    EXPECT_EQ(text.y, 0);
    EXPECT_EQ(text.width, client.width) << "the text box spans the panel";
    EXPECT_EQ(main.window(homeLink).rect.x, 15) << "15 pixels from the left edge";
    const wRect contact = main.window(contactLink).rect;
    EXPECT_EQ(contact.x + contact.width, client.width - 18) << "18 pixels from the right edge";
    for (int i = 1; i < 4; ++i) {
        const wRect previous = main.window(rowControls[i - 1]).rect;
        EXPECT_EQ(previous.x + previous.width + 10, main.window(rowControls[i]).rect.x) << "a 10-pixel gap " << i;
    }
    for (Control c : rowControls) {
        const wRect r = main.window(c).rect;
        EXPECT_EQ(r.y, text.y + text.height) << "control " << c << " starts where the text box ends";
        EXPECT_EQ(r.y + r.height, client.height) << "control " << c << " is flush with the bottom";
    }
    // Whole-pixel panels give whole-pixel solutions: rounding loses nothing.
    for (std::size_t c = 0; c < controlCount; ++c) {
        const wRect r = main.window(Control(c)).rect;
        const int placed[] = {r.x, r.y, r.width, r.height};
        const auto variables = variablesOf(main.window(Control(c)));
        for (int k = 0; k < 4; ++k) EXPECT_NEAR((*variables[k])->value, placed[k], 1e-9) << "control " << c;
    }
}

TEST(MainPanelLayout, ArrangementHoldsAtEveryPanelSize) {
    PlainMainPanel main;
    for (wSize client : {wSize{600, 300}, wSize{800, 450}, wSize{402, 269}, wSize{1920, 1000}, wSize{300, 120},
                         wSize{333, 111}, wSize{600, 300}}) {
        SCOPED_TRACE(::testing::Message() << client.width << " x " << client.height);
        main.pass(client);
        expectArrangement(main, client);
        EXPECT_EQ(ui::solvedRect(main.panel()), (wRect{0, 0, client.width, client.height}));
    }
}

TEST(MainPanelLayout, SizesAreStickyTheTextBoxTakesTheHeightAndTheContactLinkTheWidth) {
    PlainMainPanel main;
    main.pass({600, 300});
    std::vector<wRect> before;
    for (std::size_t c = 0; c < controlCount; ++c) before.push_back(main.window(Control(c)).rect);

    // Growing costs least where no other control has to move: the last row
    // control's width and the text box's height.
    main.pass({700, 350});
    EXPECT_EQ(main.window(helpText).rect.height, before[helpText].height + 50);
    EXPECT_EQ(main.window(contactLink).rect.width, before[contactLink].width + 100);
    for (Control c : {homeLink, openFolderButton, openFileButton}) {
        EXPECT_EQ(main.window(c).rect.x, before[c].x) << "control " << c;
        EXPECT_EQ(main.window(c).rect.width, before[c].width) << "control " << c;
        EXPECT_EQ(main.window(c).rect.height, before[c].height) << "control " << c;
    }
    main.pass({600, 300});
    for (std::size_t c = 0; c < controlCount; ++c) EXPECT_EQ(main.window(Control(c)).rect, before[c]) << c;
}

TEST(MainPanelLayout, TheSameSizeAgainGivesTheSameValuesBitForBit) {
    PlainMainPanel main;
    auto solved = [&] {
        std::vector<std::uint64_t> bits;
        for (std::size_t c = 0; c < controlCount; ++c)
            for (const auto* v : variablesOf(main.window(Control(c))))
                bits.push_back(std::bit_cast<std::uint64_t>((*v)->value));
        return bits;
    };
    main.pass({640, 480});
    main.pass({640, 480});
    const auto first = solved();
    main.pass({640, 480});
    EXPECT_EQ(solved(), first);
}

TEST(MainPanelLayout, APanelNarrowerThanTheGapsStillSolves) {
    // 15 + 3 x 10 + 18 = 63 pixels of margins and gaps; nothing bounds a
    // width from below, so a row width goes negative.
    PlainMainPanel main;
    main.pass({600, 300});
    main.pass({50, 40});
    expectArrangement(main, {50, 40});
    int smallest = 0;
    for (Control c : rowControls) smallest = std::min(smallest, main.window(c).rect.width);
    EXPECT_LT(smallest, 0);
    main.pass({600, 300});
    expectArrangement(main, {600, 300});
}

TEST(MainPanelLayout, TheFirstPassStartsFromTheCreationSizes) {
    // A panel that fits the row's creation sizes exactly keeps them: widths
    // 92 + 75 + 75 + 110 plus 63 of gaps, height 69 + 23. Only the text box
    // must stretch to the panel's width.
    PlainMainPanel main;
    main.pass({415, 92});
    expectArrangement(main, {415, 92});
    EXPECT_EQ(main.window(helpText).rect.height, defaultCreationRects[helpText].height);
    for (Control c : rowControls) {
        EXPECT_EQ(main.window(c).rect.width, defaultCreationRects[c].width) << "control " << c;
        EXPECT_EQ(main.window(c).rect.height, defaultCreationRects[c].height) << "control " << c;
    }
}

TEST(MainPanelLayout, EachControlIsRegisteredOnceInOrderWithFourEditVariables) {
    PlainMainPanel main;
    ui::PanelLayout& layout = main.layout();
    std::shared_ptr<wResizable> text = layout.windows.front();
    EXPECT_NO_THROW(ui::registerWindow(layout, text));
    ASSERT_EQ(layout.windows.size(), std::size_t(controlCount));
    for (std::size_t c = 0; c < controlCount; ++c) EXPECT_EQ(layout.windows[c].get(), &main.window(Control(c)));
    for (const auto* v : variablesOf(main.panel())) EXPECT_TRUE(solver::isEditVariable(layout.solver, *v));
    for (const auto& window : layout.windows)
        for (const auto* v : variablesOf(*window)) EXPECT_TRUE(solver::isEditVariable(layout.solver, *v));
}

TEST(LayoutCoordinateTest, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(ui::layoutCoordinate(2.5), 3);
    EXPECT_EQ(ui::layoutCoordinate(-2.5), -3);
    EXPECT_EQ(ui::layoutCoordinate(0.5), 1);
    EXPECT_EQ(ui::layoutCoordinate(-0.5), -1);
    EXPECT_EQ(ui::layoutCoordinate(2.4999999), 2);
    EXPECT_EQ(ui::layoutCoordinate(-2.4999999), -2);
    EXPECT_EQ(ui::layoutCoordinate(-0.0), 0);
    EXPECT_EQ(ui::layoutCoordinate(417.0), 417);
}

TEST(LayoutCoordinateTest, ValuesOutsideThe32BitRangeBecomeTheDefaultMarker) {
    EXPECT_EQ(ui::layoutCoordinate(2147483647.0), 2147483647);
    EXPECT_EQ(ui::layoutCoordinate(2147483647.4), 2147483647);
    EXPECT_EQ(ui::layoutCoordinate(2147483647.5), wDefaultCoordinate);
    EXPECT_EQ(ui::layoutCoordinate(-2147483647.0), -2147483647);
    EXPECT_EQ(ui::layoutCoordinate(-2147483648.6), wDefaultCoordinate);
    EXPECT_EQ(ui::layoutCoordinate(1e300), wDefaultCoordinate);
    EXPECT_EQ(ui::layoutCoordinate(-std::numeric_limits<double>::infinity()), wDefaultCoordinate);
    EXPECT_EQ(ui::layoutCoordinate(std::numeric_limits<double>::quiet_NaN()), wDefaultCoordinate);
}

TEST(LayoutCoordinateTest, SolvedRectRoundsEachVariable) {
    PlainWindow window({0, 0, 0, 0});
    window.left()->value = 14.5;
    window.top()->value = -0.5;
    window.width()->value = 1e12;
    window.height()->value = 22.49;
    EXPECT_EQ(ui::solvedRect(window), (wRect{15, -1, wDefaultCoordinate, 22}));
}

}  // namespace
