// The frame keeps its one ordinary child sized to its client area less the
// status bar, through every resize.
#include <gtest/gtest.h>

#include <vector>

#include "tests/toolkit/win32_support.h"
#include "toolkit/frame_win32.h"
#include "toolkit/message_numbers.h"
#include "toolkit/panel_win32.h"
#include "toolkit/status_bar_win32.h"

using namespace toolkit;
using toolkittest::AppTest;

namespace {

class FrameTest : public AppTest {
protected:
    std::shared_ptr<wFrame> frame = std::make_shared<wFrame>(app, "frame test", wPoint{60, 60}, wSize{418, 350});
    std::shared_ptr<wPanel> panel = std::make_shared<wPanel>(frame);

    void expectPanelFillsAbove(int statusHeight) {
        const wSize client = frame->clientSize();
        EXPECT_EQ(panel->rect(), (wRect{0, 0, client.width, client.height - statusHeight}));
    }
};

TEST_F(FrameTest, ChildWaitsHiddenUntilTheFrameIsShown) {
    EXPECT_EQ(panel->size(), (wSize{0, 0}));
    std::vector<wSize> sizes;
    bindHandler(*panel, evtSize, wEventHandler([&](wEvent& event) {
        sizes.push_back({LOWORD(event.lParam()), HIWORD(event.lParam())});
    }));
    frame->show();
    // Exactly one first sizing, after the handlers were bound.
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes.front(), frame->clientSize());
    expectPanelFillsAbove(0);
}

TEST_F(FrameTest, ChildFollowsEveryResizeLessTheStatusBar) {
    auto status = std::make_shared<wStatusBar>(frame);
    EXPECT_EQ(frame->statusBar(), status.get());
    frame->show();
    const int statusHeight = status->size().height;
    ASSERT_GT(statusHeight, 0);
    expectPanelFillsAbove(statusHeight);
    EXPECT_EQ(status->rect().y + statusHeight, frame->clientSize().height);

    for (wSize outer : {wSize{600, 480}, wSize{250, 180}, wSize{418, 350}}) {
        frame->setSize(outer);
        expectPanelFillsAbove(statusHeight);
        EXPECT_EQ(status->rect().width, frame->clientSize().width);
    }
    frame->show(SW_MAXIMIZE);
    expectPanelFillsAbove(statusHeight);
    frame->show(SW_RESTORE);
    expectPanelFillsAbove(statusHeight);
}

TEST_F(FrameTest, FramesOwnSizeHandlingLeavesRoomForTheProgramsHandler) {
    int programHandler = 0;
    bindHandler(*frame, evtSize, wPlainHandler([&] { ++programHandler; }));
    frame->show();
    frame->setSize({500, 400});
    EXPECT_GT(programHandler, 0);
    expectPanelFillsAbove(0);
}

TEST_F(FrameTest, ReleasedStatusBarGivesItsRoomBack) {
    auto status = std::make_shared<wStatusBar>(frame);
    frame->show();
    status.reset();
    EXPECT_EQ(frame->statusBar(), nullptr);
    frame->setSize({420, 352});
    expectPanelFillsAbove(0);
}

TEST_F(FrameTest, TwoOrdinaryChildrenAreLeftWhereTheProgramPutsThem) {
    auto second = std::make_shared<wPanel>(frame, wPoint{5, 6}, wSize{30, 40});
    frame->show();
    EXPECT_EQ(second->rect(), (wRect{5, 6, 30, 40}));
    EXPECT_EQ(panel->size(), (wSize{0, 0}));
}

TEST_F(FrameTest, StatusTextRoundTrips) {
    auto status = std::make_shared<wStatusBar>(frame);
    status->setStatusText(" Done! - C:\\m\u00fcsic\\zz_song.wav - 14:03:07");
    EXPECT_EQ(status->statusText(), " Done! - C:\\m\u00fcsic\\zz_song.wav - 14:03:07");
    // What another process reads: WM_GETTEXT gives field 0.
    wchar_t text[64] = {};
    SendMessageW(status->handle(), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), L" Done! - C:\\m\u00fcsic\\zz_song.wav - 14:03:07");
}

TEST_F(FrameTest, CenterAndMoveWithDefaultCoordinates) {
    frame->move({100, 120});
    EXPECT_EQ(frame->position(), (wPoint{100, 120}));
    frame->setRect({wDefaultCoordinate, 150, wDefaultCoordinate, 300});
    EXPECT_EQ(frame->rect(), (wRect{100, 150, 418, 300}));
    frame->center();
    const wRect placed = frame->rect();
    EXPECT_EQ(placed.x, (GetSystemMetrics(SM_CXSCREEN) - 418) / 2);
    EXPECT_EQ(placed.y, (GetSystemMetrics(SM_CYSCREEN) - 300) / 2);
}

}  // namespace
