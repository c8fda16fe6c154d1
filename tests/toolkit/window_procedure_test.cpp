// The window procedure and message loop on real windows: events made from
// platform messages, default processing, the size translation, clicks raised
// on the button, errors kept pending until the loop, and quit handling.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "tests/toolkit/win32_support.h"
#include "toolkit/accelerator_win32.h"
#include "toolkit/button_win32.h"
#include "toolkit/frame_win32.h"
#include "toolkit/message_numbers.h"
#include "toolkit/panel_win32.h"

using namespace toolkit;
using toolkittest::AppTest;

namespace {

constexpr UINT probeMessage = WM_APP + 0x300;  // clear of the toolkit's numbers

class WindowProcedureTest : public AppTest {
protected:
    std::shared_ptr<wFrame> frame = std::make_shared<wFrame>(app, "procedure test", wPoint{40, 40}, wSize{300, 200});
    std::shared_ptr<wPanel> panel = std::make_shared<wPanel>(frame);
};

TEST_F(WindowProcedureTest, ProcessedMessageReturnsTheEventResult) {
    bindHandler(*panel, int(probeMessage), wEventHandler([](wEvent& event) {
        EXPECT_EQ(event.wParam(), 5u);
        EXPECT_EQ(event.lParam(), 6);
        event.setResult(1234);
    }));
    EXPECT_EQ(SendMessageW(panel->handle(), probeMessage, 5, 6), 1234);
}

TEST_F(WindowProcedureTest, UnprocessedMessageGetsTheDefaultProcessing) {
    bindHandler(*panel, WM_GETTEXTLENGTH, wEventHandler([](wEvent& event) { event.skip(); }));
    frame->setLabel("four");
    EXPECT_EQ(SendMessageW(frame->handle(), WM_GETTEXTLENGTH, 0, 0), 4);  // never connected on the frame
    panel->setLabel("three");
    EXPECT_EQ(SendMessageW(panel->handle(), WM_GETTEXTLENGTH, 0, 0), 5);
}

TEST_F(WindowProcedureTest, SizeTypesRaiseTheirEvents) {
    std::vector<std::int32_t> seen;
    for (std::int32_t number : {evtSize, evtMinimize, evtMaximize})
        bindHandler(*frame, number, wEventHandler([&](wEvent& event) {
            seen.push_back(event.message());
            event.skip();
        }));
    frame->show();
    seen.clear();
    frame->show(SW_MAXIMIZE);
    EXPECT_EQ(seen, (std::vector<std::int32_t>{evtMaximize, evtSize}));
    seen.clear();
    frame->show(SW_MINIMIZE);
    EXPECT_EQ(seen, (std::vector<std::int32_t>{evtMinimize}));
    seen.clear();
    frame->show(SW_RESTORE);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), evtSize);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), evtMinimize), 0);
}

TEST_F(WindowProcedureTest, ClickIsRaisedOnTheButtonAndReachesItsParent) {
    auto button = std::make_shared<wButton>(panel, 321, "Press");
    std::vector<std::string> calls;
    bindHandler(*panel, evtButton, wEventHandler([&](wEvent& event) {
        calls.push_back("panel");
        EXPECT_EQ(event.window(), button.get());
        EXPECT_EQ(event.id(), 321u);
    }));
    SendMessageW(button->handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"panel"}));

    bindHandler(*button, evtButton, wPlainHandler([&] { calls.push_back("button"); }));
    SendMessageW(button->handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"panel", "button"}));
}

TEST_F(WindowProcedureTest, DefaultIdsAreDistinct) {
    auto first = std::make_shared<wButton>(panel, wDefaultId, "a");
    auto second = std::make_shared<wButton>(panel, wDefaultId, "b");
    EXPECT_NE(first->id(), second->id());
    EXPECT_EQ(GetDlgCtrlID(first->handle()), first->id());
}

TEST_F(WindowProcedureTest, HandlerErrorEndsTheLoopAfterDispatchReturns) {
    int later = 0;
    bindHandler(*panel, int(probeMessage), wPlainHandler([] { throw runtime::ValueError("from a handler"); }));
    bindHandler(*panel, int(probeMessage + 1), wPlainHandler([&] { ++later; }));
    PostMessageW(panel->handle(), probeMessage, 0, 0);
    PostMessageW(panel->handle(), probeMessage + 1, 0, 0);
    EXPECT_THROW(app->run(), runtime::ValueError);
    EXPECT_EQ(later, 0);
    EXPECT_FALSE(app->dispatcher().hasPendingError());
}

TEST_F(WindowProcedureTest, HandlerErrorDuringAPlatformCallSurfacesAtTheCall) {
    frame->show();
    bindHandler(*panel, evtSize, wPlainHandler([] { throw runtime::ValueError("layout failed"); }));
    EXPECT_THROW(frame->setSize({320, 260}), runtime::ValueError);
    EXPECT_FALSE(app->dispatcher().hasPendingError());
}

TEST_F(WindowProcedureTest, QuitWhileAWindowLivesIsDispatchedAndClosingTheLastWindowEndsTheLoop) {
    frame->show();
    int probes = 0;
    bindHandler(*panel, int(probeMessage), wPlainHandler([&] {
        ++probes;
        PostMessageW(frame->handle(), WM_CLOSE, 0, 0);
    }));
    PostQuitMessage(3);
    PostMessageW(panel->handle(), probeMessage, 0, 0);
    EXPECT_EQ(app->run(), 0u);  // the quit posted when the frame went away
    EXPECT_EQ(probes, 1);
    EXPECT_FALSE(frame->isAlive());
    EXPECT_FALSE(panel->isAlive());
    EXPECT_EQ(app->windowCount(), 0u);
}

TEST_F(WindowProcedureTest, LoopIsNotEnteredWithoutWindows) {
    panel.reset();
    frame.reset();
    EXPECT_EQ(app->windowCount(), 0u);
    EXPECT_EQ(app->run(), 0u);
}

TEST_F(WindowProcedureTest, ReleasingTheLastReferenceDestroysTheWindow) {
    HWND panelHandle = panel->handle();
    HWND frameHandle = frame->handle();
    panel.reset();
    EXPECT_FALSE(IsWindow(panelHandle));
    EXPECT_TRUE(IsWindow(frameHandle));
    EXPECT_EQ(app->windowCount(), 1u);
    frame.reset();
    EXPECT_FALSE(IsWindow(frameHandle));
    EXPECT_EQ(app->windowCount(), 0u);
}

TEST_F(WindowProcedureTest, ChildKeepsItsParentObjectAlive) {
    std::weak_ptr<wFrame> weakFrame = frame;
    frame.reset();
    EXPECT_FALSE(weakFrame.expired());
    EXPECT_EQ(panel->parent(), weakFrame.lock().get());
    panel.reset();
    EXPECT_TRUE(weakFrame.expired());
}

TEST_F(WindowProcedureTest, HandlerMayReleaseItsOwnWindow) {
    auto button = std::make_shared<wButton>(panel, 5, "Go");
    std::weak_ptr<wButton> weak = button;
    bindHandler(*button, evtButton, wPlainHandler([&] { button.reset(); }));
    SendMessageW(weak.lock()->handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(weak.expired());
}

TEST_F(WindowProcedureTest, AcceleratorOfAnAncestorTranslatesKeysOfItsChildren) {
    frame->show();
    frame->setAcceleratorTable(std::make_shared<wAcceleratorTable>(std::vector<ACCEL>{{FVIRTKEY, VK_F5, 55}}));
    std::uint32_t command = 0;
    bindHandler(*frame, wmCommand, wEventHandler([&](wEvent& event) {
        command = event.id();
        frame->destroy();
    }));
    PostMessageW(panel->handle(), WM_KEYDOWN, VK_F5, 1);
    app->run();
    EXPECT_EQ(command, 55u);
}

TEST_F(WindowProcedureTest, TabMovesTheFocusThroughDialogNavigation) {
    auto first = std::make_shared<wButton>(panel, 11, "first", wPoint{0, 0});
    auto second = std::make_shared<wButton>(panel, 12, "second", wPoint{0, 40});
    frame->show();
    SetForegroundWindow(frame->handle());
    SetFocus(first->handle());
    ASSERT_EQ(GetFocus(), first->handle());
    HWND focused = nullptr;
    HWND expected = second->handle();
    bindHandler(*panel, int(probeMessage), wPlainHandler([&] {
        focused = GetFocus();
        frame->destroy();
    }));
    PostMessageW(first->handle(), WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(panel->handle(), probeMessage, 0, 0);
    app->run();
    EXPECT_EQ(focused, expected);
}

}  // namespace
