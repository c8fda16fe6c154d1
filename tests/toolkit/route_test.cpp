// The window procedure's rules: which messages become events, what reaches
// the hook and the default procedure, the size translation, and errors.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "test_window.h"
#include "toolkit/message_numbers.h"

using namespace toolkit;
using toolkittest::TestWindow;

namespace {

constexpr std::uint32_t wmPaint = 0x000F;
constexpr std::intptr_t defaultValue = 777;

class RouteTest : public ::testing::Test {
protected:
    wDispatcher dispatcher;
    TestWindow window{dispatcher};
    int defaultCalls = 0;
    std::vector<std::int32_t> seen;

    std::intptr_t route(wEventTarget* target, std::uint32_t message, std::uintptr_t wParam = 0,
                        std::intptr_t lParam = 0) {
        return dispatcher.route(target, message, wParam, lParam, [this] {
            ++defaultCalls;
            return defaultValue;
        });
    }

    void recordAll(std::initializer_list<std::int32_t> numbers) {
        for (std::int32_t number : numbers)
            bindHandler(window, number, wEventHandler([this](wEvent& event) { seen.push_back(event.message()); }));
    }
};

TEST_F(RouteTest, MessageWithoutWindowGoesToTheDefaultProcedure) {
    recordAll({int(wmPaint)});
    EXPECT_EQ(route(nullptr, wmPaint), defaultValue);
    EXPECT_EQ(defaultCalls, 1);
    EXPECT_TRUE(seen.empty());
}

TEST_F(RouteTest, UnconnectedMessageMakesNoEventAndReachesTheDefaultProcedure) {
    int stamped = 0;
    static int* counter;
    counter = &stamped;
    dispatcher.setEventStamp([](wEvent&) { ++*counter; });
    EXPECT_EQ(route(&window, wmPaint), defaultValue);
    EXPECT_EQ(defaultCalls, 1);
    EXPECT_EQ(stamped, 0);
}

TEST_F(RouteTest, ProcessedMessageReturnsTheEventResultWithoutDefaultProcessing) {
    bindHandler(window, int(wmPaint), wEventHandler([](wEvent& event) { event.setResult(-5); }));
    EXPECT_EQ(route(&window, wmPaint), -5);
    EXPECT_EQ(defaultCalls, 0);
}

TEST_F(RouteTest, MessageConnectedOnlyElsewhereIsNotProcessedHere) {
    TestWindow other(dispatcher);
    bindHandler(other, int(wmPaint), wPlainHandler([] {}));
    EXPECT_EQ(route(&window, wmPaint), defaultValue);
    EXPECT_EQ(defaultCalls, 1);
}

TEST_F(RouteTest, HookHandlesWhatNoHandlerProcessed) {
    bindHandler(window, int(wmPaint), wEventHandler([](wEvent& event) { event.skip(); }));
    window.hook = [](std::uint32_t message, std::intptr_t& result) {
        result = 12;
        return message == wmPaint;
    };
    EXPECT_EQ(route(&window, wmPaint), 12);
    EXPECT_EQ(defaultCalls, 0);
    // A hook that declines leaves the message to the default procedure.
    EXPECT_EQ(route(&window, wmCommand), defaultValue);
    EXPECT_EQ(defaultCalls, 1);
}

TEST_F(RouteTest, ToolkitConnectionAloneLeavesTheMessageUnprocessed) {
    int ran = 0;
    bindToolkitHandler(window, int(wmPaint), [&](wEvent&) { ++ran; });
    EXPECT_EQ(route(&window, wmPaint), defaultValue);
    EXPECT_EQ(ran, 1);
}

TEST_F(RouteTest, SizeRestoredRaisesTheSizeEvent) {
    recordAll({evtSize, evtMaximize, evtMinimize, wmSize});
    route(&window, wmSize, sizeRestored, (200 << 16) | 300);
    EXPECT_EQ(seen, (std::vector<std::int32_t>{evtSize}));
}

TEST_F(RouteTest, SizeMaximizedRaisesMaximiseThenSize) {
    recordAll({evtSize, evtMaximize, evtMinimize, wmSize});
    route(&window, wmSize, sizeMaximized, 0);
    EXPECT_EQ(seen, (std::vector<std::int32_t>{evtMaximize, evtSize}));
}

TEST_F(RouteTest, SizeMinimizedRaisesOnlyMinimise) {
    recordAll({evtSize, evtMaximize, evtMinimize, wmSize});
    route(&window, wmSize, sizeMinimized, 0);
    EXPECT_EQ(seen, (std::vector<std::int32_t>{evtMinimize}));
}

TEST_F(RouteTest, OtherSizeTypesRaiseNothing) {
    recordAll({evtSize, evtMaximize, evtMinimize, wmSize});
    route(&window, wmSize, 3 /* SIZE_MAXSHOW */, 0);
    route(&window, wmSize, 4 /* SIZE_MAXHIDE */, 0);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(defaultCalls, 2);
}

TEST_F(RouteTest, SizeEventCarriesTheNewSize) {
    std::intptr_t lParam = 0;
    bindHandler(window, evtSize, wEventHandler([&](wEvent& event) { lParam = event.lParam(); }));
    route(&window, wmSize, sizeRestored, (200 << 16) | 300);
    EXPECT_EQ(lParam, (200 << 16) | 300);
}

TEST_F(RouteTest, HandlerErrorStaysPendingAndTheValueSoFarIsReturned) {
    bindHandler(window, int(wmPaint), wEventHandler([](wEvent& event) {
                    event.setResult(3);
                    throw std::runtime_error("handler failed");
                }));
    bindHandler(window, int(wmPaint), wPlainHandler([] { ADD_FAILURE() << "ran after the error"; }));
    EXPECT_EQ(route(&window, wmPaint), 3);
    EXPECT_EQ(defaultCalls, 0);
    ASSERT_TRUE(dispatcher.hasPendingError());
    EXPECT_THROW(dispatcher.rethrowPendingError(), std::runtime_error);
    EXPECT_FALSE(dispatcher.hasPendingError());
}

TEST_F(RouteTest, ErrorInMaximiseHandlerStopsTheSizeEvent) {
    bindHandler(window, evtMaximize, wPlainHandler([] { throw std::runtime_error("no"); }));
    recordAll({evtSize});
    route(&window, wmSize, sizeMaximized, 0);
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(dispatcher.hasPendingError());
}

TEST_F(RouteTest, WhileAnErrorIsPendingMessagesGoStraightToTheDefaultProcedure) {
    recordAll({int(wmPaint)});
    dispatcher.setPendingError(std::make_exception_ptr(std::runtime_error("earlier")));
    EXPECT_EQ(route(&window, wmPaint), defaultValue);
    EXPECT_TRUE(seen.empty());
    wEvent raised(&window, int(wmPaint));
    EXPECT_FALSE(dispatcher.raise(raised));
    EXPECT_TRUE(seen.empty());
}

TEST_F(RouteTest, FirstPendingErrorWins) {
    dispatcher.setPendingError(std::make_exception_ptr(std::runtime_error("first")));
    dispatcher.setPendingError(std::make_exception_ptr(std::logic_error("second")));
    try {
        dispatcher.rethrowPendingError();
        FAIL() << "nothing rethrown";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "first");
    }
}

TEST_F(RouteTest, RaisedEventNeedsAConnection) {
    TestWindow child(dispatcher, &window);
    wCommandEvent before(&child, evtButton);
    EXPECT_FALSE(dispatcher.raise(before));
    bindHandler(window, evtButton, wPlainHandler([] {}));
    wCommandEvent after(&child, evtButton);
    EXPECT_TRUE(dispatcher.raise(after));
}

}  // namespace
