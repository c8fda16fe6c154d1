// The main panel's layout over plain layout variables: the sixteen
// equalities at several panel sizes, sticky sizes, narrow panels, and the
// rounding of solved values into pixel coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "ui/panel_layout.h"

using toolkit::wDefaultCoordinate;
using toolkit::wRect;
using toolkit::wResizable;
using toolkit::wSize;

namespace {

// A window without a platform behind it: it sits where it was last placed.
struct FakeWindow : wResizable {
    explicit FakeWindow(wRect at) : rect(at) {}
    wRect rect;
};

class MainPanelLayoutTest : public ::testing::Test {
protected:
    // Creation sizes like the real controls': a 120-pixel text box three
    // combo boxes high, 75 x 23 buttons, links at their best widths.
    std::shared_ptr<FakeWindow> panel = std::make_shared<FakeWindow>(wRect{0, 0, 0, 0});
    std::shared_ptr<FakeWindow> helpText = std::make_shared<FakeWindow>(wRect{0, 0, 120, 63});
    std::shared_ptr<FakeWindow> homeLink = std::make_shared<FakeWindow>(wRect{0, 0, 62, 17});
    std::shared_ptr<FakeWindow> openFolderButton = std::make_shared<FakeWindow>(wRect{0, 0, 75, 23});
    std::shared_ptr<FakeWindow> openFileButton = std::make_shared<FakeWindow>(wRect{0, 0, 75, 23});
    std::shared_ptr<FakeWindow> contactLink = std::make_shared<FakeWindow>(wRect{0, 0, 93, 17});
    std::unique_ptr<ui::PanelLayout> layout;

    void SetUp() override {
        layout = ui::newPanelLayout(panel);
        ui::addMainPanelConstraints(
            *layout, ui::MainPanelControls{helpText, homeLink, openFolderButton, openFileButton, contactLink});
    }

    // One pass as the window runs it: suggest where the windows are, solve,
    // move them.
    void pass(wSize client) {
        ui::suggestLayout(*layout, client, [](const wResizable& w) { return static_cast<const FakeWindow&>(w).rect; });
        ui::applyLayout(*layout, [](wResizable& w, wRect to) {
            wRect& at = static_cast<FakeWindow&>(w).rect;
            if (to.x != wDefaultCoordinate) at.x = to.x;
            if (to.y != wDefaultCoordinate) at.y = to.y;
            if (to.width != wDefaultCoordinate) at.width = to.width;
            if (to.height != wDefaultCoordinate) at.height = to.height;
        });
    }

    std::vector<FakeWindow*> row() const {
        return {homeLink.get(), openFolderButton.get(), openFileButton.get(), contactLink.get()};
    }

    // What the layout promises for a panel of this client size.
    void expectMainPanelArrangement(wSize client) const {
        const wRect text = helpText->rect;
        EXPECT_EQ(text.x, 0);
        EXPECT_EQ(text.y, 0);
        EXPECT_EQ(text.width, client.width) << "the text box spans the panel";
        EXPECT_EQ(homeLink->rect.x, 15) << "15 pixels from the left edge";
        EXPECT_EQ(contactLink->rect.x + contactLink->rect.width, client.width - 18) << "18 pixels from the right edge";
        const std::vector<FakeWindow*> items = row();
        for (std::size_t i = 0; i + 1 < items.size(); ++i)
            EXPECT_EQ(items[i]->rect.x + items[i]->rect.width + 10, items[i + 1]->rect.x) << "a 10-pixel gap " << i;
        for (FakeWindow* item : items) {
            EXPECT_EQ(item->rect.y, text.y + text.height) << "the row starts where the text box ends";
            EXPECT_EQ(item->rect.y + item->rect.height, client.height) << "the row is flush with the bottom";
        }
    }
};

TEST_F(MainPanelLayoutTest, ArrangementHoldsAtSeveralPanelSizes) {
    for (wSize client : {wSize{402, 269}, wSize{800, 600}, wSize{1904, 1000}, wSize{300, 120}, wSize{402, 269}}) {
        SCOPED_TRACE(::testing::Message() << client.width << " x " << client.height);
        pass(client);
        expectMainPanelArrangement(client);
    }
}

TEST_F(MainPanelLayoutTest, PanelTakesItsSuggestionExactly) {
    pass({640, 480});
    EXPECT_EQ(panel->left()->value, 0.0);
    EXPECT_EQ(panel->top()->value, 0.0);
    EXPECT_EQ(panel->width()->value, 640.0);
    EXPECT_EQ(panel->height()->value, 480.0);
}

TEST_F(MainPanelLayoutTest, SameSizeAgainPlacesTheSameRectangles) {
    pass({402, 269});
    std::vector<wRect> first;
    for (FakeWindow* item : row()) first.push_back(item->rect);
    first.push_back(helpText->rect);
    pass({402, 269});
    std::vector<wRect> second;
    for (FakeWindow* item : row()) second.push_back(item->rect);
    second.push_back(helpText->rect);
    EXPECT_EQ(first, second);
}

TEST_F(MainPanelLayoutTest, TextBoxTakesTheHeightTheRowDoesNotNeed) {
    // One row height for all four, well below the panel's; the text box
    // takes the rest.
    pass({402, 269});
    const int rowHeight = homeLink->rect.height;
    for (FakeWindow* item : row()) EXPECT_EQ(item->rect.height, rowHeight);
    EXPECT_GT(rowHeight, 0);
    EXPECT_LT(rowHeight, 269 / 2);
    EXPECT_EQ(helpText->rect.height, 269 - rowHeight);
}

TEST_F(MainPanelLayoutTest, RowWidthsShareThePanelLessTheFixedGaps) {
    for (int width : {402, 555, 1200}) {
        pass({width, 300});
        int sum = 0;
        for (FakeWindow* item : row()) sum += item->rect.width;
        EXPECT_NEAR(sum, width - 63, 2) << width;  // rounding of four widths
    }
}

TEST_F(MainPanelLayoutTest, PanelNarrowerThanTheGapsStillSolves) {
    pass({40, 100});
    expectMainPanelArrangement({40, 100});
    bool someWidthNotPositive = false;
    for (FakeWindow* item : row()) someWidthNotPositive |= item->rect.width <= 0;
    EXPECT_TRUE(someWidthNotPositive) << "nothing bounds a width from below";
}

TEST_F(MainPanelLayoutTest, RegisteringTwiceAddsNothing) {
    const std::size_t before = layout->windows.size();
    EXPECT_NO_THROW(ui::registerWindow(*layout, helpText));
    EXPECT_EQ(layout->windows.size(), before);
    EXPECT_EQ(before, 5u);
    EXPECT_EQ(layout->windows.front(), helpText);
    EXPECT_EQ(layout->windows.back(), contactLink);
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
    FakeWindow window({0, 0, 0, 0});
    window.left()->value = 14.5;
    window.top()->value = -0.5;
    window.width()->value = 1e12;
    window.height()->value = 22.49;
    EXPECT_EQ(ui::solvedRect(window), (wRect{15, -1, wDefaultCoordinate, 22}));
}

}  // namespace
