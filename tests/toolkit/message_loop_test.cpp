// The message loop: reading, the filter chain, quit handling and errors
// raised while a message is dispatched.
#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>
#include <vector>

#include "test_window.h"
#include "toolkit/message_numbers.h"

using namespace toolkit;
using toolkittest::TestWindow;

namespace {

constexpr std::uint32_t wmUser = 0x0400;

// A queue of messages; dispatching runs the window procedure's rules on the
// test window, as the platform would.
class FakePump : public wMessagePump {
public:
    FakePump(wDispatcher& dispatcher, TestWindow& window) : dispatcher_(dispatcher), window_(window) {}

    std::deque<wMessage> queue;
    std::vector<std::uint32_t> dispatched;
    int idles = 0;
    bool waited = false;

    void post(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        queue.push_back(wMessage{&window_, message, wParam, lParam});
    }

    bool next(wMessage& message, bool wait) override {
        waited = wait;
        if (queue.empty()) {
            // A blocking read always finds a message: a test that gets here
            // would otherwise spin for ever.
            if (wait) throw std::logic_error("blocking read on an empty queue");
            if (++idles > 1000) throw std::logic_error("loop did not end");
            return false;
        }
        message = queue.front();
        queue.pop_front();
        return true;
    }

    void dispatch(const wMessage& message) override {
        dispatched.push_back(message.message);
        dispatcher_.route(&window_, message.message, message.wParam, message.lParam, [] { return std::intptr_t(0); });
    }

    void idle() override {}

private:
    wDispatcher& dispatcher_;
    TestWindow& window_;
};

class MessageLoopTest : public ::testing::Test {
protected:
    wDispatcher dispatcher;
    TestWindow window{dispatcher};
    FakePump pump{dispatcher, window};

    void SetUp() override {
        dispatcher.windowCreated(&window);
        dispatcher.addFilter(dispatcher.quitFilter());
    }
};

TEST_F(MessageLoopTest, QuitWhileAWindowRemainsIsDispatchedAndTheLoopGoesOn) {
    pump.post(wmQuit, 5);
    pump.post(wmUser);
    pump.post(wmUser + 1);
    bindHandler(window, int(wmUser + 1), wPlainHandler([this] {
                    dispatcher.windowDestroyed(&window);
                    pump.post(wmQuit, 9);
                }));
    EXPECT_EQ(dispatcher.runLoop(pump), 9u);
    EXPECT_EQ(pump.dispatched, (std::vector<std::uint32_t>{std::uint32_t(wmQuit), wmUser, wmUser + 1}));
}

TEST_F(MessageLoopTest, LoopIsNotEnteredWithoutAWindow) {
    dispatcher.windowDestroyed(&window);
    pump.post(wmUser);
    EXPECT_EQ(dispatcher.runLoop(pump), 0u);
    EXPECT_EQ(pump.queue.size(), 1u);
}

TEST(MessageFilterTest, NegativeFilterEndsTheLoopEvenMidChain) {
    wDispatcher dispatcher;
    TestWindow window(dispatcher);
    FakePump pump(dispatcher, window);
    dispatcher.windowCreated(&window);
    std::vector<int> ran;
    dispatcher.addFilter([&](const wMessage&) {
        ran.push_back(1);
        return 0;
    });
    dispatcher.addFilter([&](const wMessage& m) {
        ran.push_back(2);
        return m.message == wmUser ? -1 : 0;
    });
    dispatcher.addFilter([&](const wMessage&) {
        ran.push_back(3);
        return 0;
    });
    pump.post(wmUser, 44);
    EXPECT_EQ(dispatcher.runLoop(pump), 44u);
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_TRUE(pump.dispatched.empty());
}

TEST(MessageFilterTest, PositiveFilterHidesTheMessageFromEveryWindow) {
    wDispatcher dispatcher;
    TestWindow window(dispatcher);
    FakePump pump(dispatcher, window);
    dispatcher.windowCreated(&window);
    int handled = 0;
    int laterFilterRuns = 0;
    bindHandler(window, int(wmUser), wPlainHandler([&] { ++handled; }));
    dispatcher.addFilter([](const wMessage& m) { return m.message == wmUser ? 1 : 0; });
    dispatcher.addFilter([&](const wMessage&) {
        ++laterFilterRuns;
        return 0;
    });
    dispatcher.addFilter([](const wMessage& m) { return m.message == wmUser + 1 ? -1 : 0; });
    pump.post(wmUser);
    pump.post(wmUser + 1);
    EXPECT_EQ(dispatcher.runLoop(pump), 0u);
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(laterFilterRuns, 1);  // only the second message got past the first filter
    EXPECT_TRUE(pump.dispatched.empty());
}

TEST_F(MessageLoopTest, LoopExitMessageEndsOnlyTheLoopWithItsId) {
    std::intptr_t outerId = 0;
    std::uintptr_t inner = 0;
    bindHandler(window, int(wmUser), wPlainHandler([&] {
                    // A nested loop: an exit for the outer loop is dispatched
                    // like any message; the one with its own id ends it.
                    outerId = dispatcher.currentLoopId();
                    pump.post(msgLoopExit, 1, outerId);
                    pump.post(wmUser + 2);
                    inner = dispatcher.runLoop(pump);
                    EXPECT_EQ(dispatcher.loopDepth(), 1u);
                    pump.post(wmUser + 1);
                }));
    bindHandler(window, int(wmUser + 2), wPlainHandler([this] {
                    EXPECT_EQ(dispatcher.loopDepth(), 2u);
                    pump.post(msgLoopExit, 2, dispatcher.currentLoopId());
                }));
    bindHandler(window, int(wmUser + 1), wPlainHandler([&] { pump.post(msgLoopExit, 3, outerId); }));
    pump.post(wmUser);
    EXPECT_EQ(dispatcher.runLoop(pump), 3u);
    EXPECT_EQ(inner, 2u);
    EXPECT_EQ(dispatcher.loopDepth(), 0u);
    EXPECT_EQ(pump.dispatched,
              (std::vector<std::uint32_t>{wmUser, std::uint32_t(msgLoopExit), wmUser + 2, wmUser + 1}));
}

TEST_F(MessageLoopTest, ErrorInHandlerEndsTheLoopAfterItsDispatchReturns) {
    bindHandler(window, int(wmUser), wPlainHandler([] { throw std::runtime_error("handler failed"); }));
    pump.post(wmUser);
    pump.post(wmUser + 1);
    EXPECT_THROW(dispatcher.runLoop(pump), std::runtime_error);
    EXPECT_EQ(pump.dispatched, (std::vector<std::uint32_t>{wmUser}));
    EXPECT_EQ(pump.queue.size(), 1u);
    EXPECT_FALSE(dispatcher.hasPendingError());
    EXPECT_EQ(dispatcher.loopDepth(), 0u);
}

TEST(MessageFilterTest, ErrorRaisedInsideAFilterThatDispatchesEndsTheLoop) {
    wDispatcher dispatcher;
    TestWindow window(dispatcher);
    FakePump pump(dispatcher, window);
    dispatcher.windowCreated(&window);
    bindHandler(window, int(wmUser), wPlainHandler([] { throw std::runtime_error("inside"); }));
    // Like dialog navigation, this filter dispatches the message itself.
    dispatcher.addFilter([&](const wMessage& m) {
        dispatcher.route(&window, m.message, m.wParam, m.lParam, [] { return std::intptr_t(0); });
        return 1;
    });
    pump.post(wmUser);
    pump.post(wmUser);
    EXPECT_THROW(dispatcher.runLoop(pump), std::runtime_error);
    EXPECT_EQ(pump.queue.size(), 1u);
}

TEST_F(MessageLoopTest, PollingLoopIdlesWhenNoMessageIsWaiting) {
    dispatcher.setBlocking(false);
    bindHandler(window, int(wmUser), wPlainHandler([this] {
                    dispatcher.windowDestroyed(&window);
                    pump.post(wmQuit, 7);
                }));
    pump.post(wmUser);
    EXPECT_EQ(dispatcher.runLoop(pump), 7u);
    EXPECT_FALSE(pump.waited);
}

TEST_F(MessageLoopTest, BlockingLoopWaitsForMessages) {
    pump.post(wmUser);
    bindHandler(window, int(wmUser), wPlainHandler([this] {
                    dispatcher.windowDestroyed(&window);
                    pump.post(msgLoopExit, 1, 12345);
                }));
    EXPECT_EQ(dispatcher.runLoop(pump), 1u);  // no window left: any exit message ends it
    EXPECT_TRUE(pump.waited);
    EXPECT_EQ(pump.idles, 0);
}

}  // namespace
