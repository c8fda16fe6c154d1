// dispatchEvent: toolkit connections, user connections with skip and
// processed, the id filter, and propagation through the parents.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "test_window.h"
#include "toolkit/message_numbers.h"

using namespace toolkit;
using toolkittest::TestWindow;

namespace {

class DispatchTest : public ::testing::Test {
protected:
    wDispatcher dispatcher;
    TestWindow frame{dispatcher};
    TestWindow panel{dispatcher, &frame};
    TestWindow button{dispatcher, &panel};
    std::vector<std::string> calls;

    wEventHandler record(std::string name, bool skip = false) {
        return [this, name, skip](wEvent& event) {
            calls.push_back(name);
            event.skip(skip);
        };
    }
};

TEST_F(DispatchTest, SecondHandlerRunsOnlyWhenTheFirstSkips) {
    bindHandler(panel, evtSize, record("first"));
    bindHandler(panel, evtSize, record("second"));
    wEvent consumed(&panel, evtSize);
    EXPECT_TRUE(dispatchEvent(consumed));
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));

    TestWindow other(dispatcher);
    bindHandler(other, evtSize, record("skipping", true));
    bindHandler(other, evtSize, record("after"));
    calls.clear();
    wEvent skipped(&other, evtSize);
    EXPECT_TRUE(dispatchEvent(skipped));
    EXPECT_EQ(calls, (std::vector<std::string>{"skipping", "after"}));
}

TEST_F(DispatchTest, EventIsNotProcessedWhenEveryHandlerSkips) {
    bindHandler(panel, evtSize, record("a", true));
    bindHandler(panel, evtSize, record("b", true));
    wEvent event(&panel, evtSize);
    EXPECT_FALSE(dispatchEvent(event));
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(DispatchTest, HandlerWithoutEventAlwaysConsumes) {
    bindHandler(panel, evtSize, wPlainHandler([this] { calls.push_back("plain"); }));
    bindHandler(panel, evtSize, record("never"));
    wEvent event(&panel, evtSize);
    event.skip(true);  // a stale skip flag must not leak into the next handler
    EXPECT_TRUE(dispatchEvent(event));
    EXPECT_EQ(calls, (std::vector<std::string>{"plain"}));
}

TEST_F(DispatchTest, SameHandlerBoundTwiceRunsTwiceWhenItSkips) {
    wEventHandler handler = record("h", true);
    bindHandler(panel, evtSize, handler);
    bindHandler(panel, evtSize, handler);
    wEvent event(&panel, evtSize);
    dispatchEvent(event);
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(DispatchTest, CommandEventReachesParentWhenChildHandlersSkipOrAreMissing) {
    bindHandler(panel, evtButton, record("panel"));
    wCommandEvent noChildHandler(&button, evtButton, 42);
    EXPECT_TRUE(dispatchEvent(noChildHandler));
    EXPECT_EQ(calls, (std::vector<std::string>{"panel"}));

    bindHandler(button, evtButton, record("button", true));
    calls.clear();
    wCommandEvent skippedByChild(&button, evtButton, 42);
    EXPECT_TRUE(dispatchEvent(skippedByChild));
    EXPECT_EQ(calls, (std::vector<std::string>{"button", "panel"}));
}

TEST_F(DispatchTest, CommandEventStopsAtTheFirstWindowThatProcessesIt) {
    bindHandler(button, evtButton, record("button"));
    bindHandler(panel, evtButton, record("panel"));
    wCommandEvent event(&button, evtButton, 1);
    EXPECT_TRUE(dispatchEvent(event));
    EXPECT_EQ(calls, (std::vector<std::string>{"button"}));
}

TEST_F(DispatchTest, NonCommandEventNeverLeavesItsWindow) {
    bindHandler(frame, evtSize, record("frame"));
    bindHandler(panel, evtSize, record("panel", true));
    wEvent event(&panel, evtSize);
    EXPECT_FALSE(dispatchEvent(event));
    EXPECT_EQ(calls, (std::vector<std::string>{"panel"}));
}

TEST_F(DispatchTest, PropagationLevelLimitsHowManyParentsAreReached) {
    bindHandler(panel, evtButton, record("panel", true));
    bindHandler(frame, evtButton, record("frame"));
    wCommandEvent event(&button, evtButton);
    event.setPropagationLevel(1);
    EXPECT_FALSE(dispatchEvent(event));
    EXPECT_EQ(calls, (std::vector<std::string>{"panel"}));
    EXPECT_EQ(event.propagationLevel(), 0);
}

TEST_F(DispatchTest, IdFilterIgnoresEventsWithAnotherId) {
    bindHandler(panel, evtButton, record("for 7"), 7);
    bindHandler(panel, evtButton, record("any"));
    wCommandEvent other(&panel, evtButton, 8);
    dispatchEvent(other);
    EXPECT_EQ(calls, (std::vector<std::string>{"any"}));

    calls.clear();
    // The id is the low 16 bits of the word parameter (the notification code
    // sits in the high bits).
    wCommandEvent matching(&panel, evtButton, (0x0003u << 16) | 7u);
    EXPECT_EQ(matching.id(), 7u);
    dispatchEvent(matching);
    EXPECT_EQ(calls, (std::vector<std::string>{"for 7"}));
}

TEST_F(DispatchTest, ToolkitConnectionsRunNewestFirstAndNeverCountAsProcessing) {
    bindToolkitHandler(panel, evtSize, record("toolkit 1"));
    bindToolkitHandler(panel, evtSize, record("toolkit 2", true));
    wEvent alone(&panel, evtSize);
    EXPECT_FALSE(dispatchEvent(alone));
    EXPECT_EQ(calls, (std::vector<std::string>{"toolkit 2", "toolkit 1"}));

    bindHandler(panel, evtSize, record("user"));
    calls.clear();
    wEvent withUser(&panel, evtSize);
    EXPECT_TRUE(dispatchEvent(withUser));
    EXPECT_EQ(calls, (std::vector<std::string>{"toolkit 2", "toolkit 1", "user"}));
}

TEST_F(DispatchTest, ToolkitConnectionsOfParentsDoNotSeeChildEvents) {
    bindToolkitHandler(panel, evtButton, record("panel toolkit"));
    bindHandler(panel, evtButton, record("panel user"));
    wCommandEvent event(&button, evtButton);
    dispatchEvent(event);
    EXPECT_EQ(calls, (std::vector<std::string>{"panel user"}));
}

TEST_F(DispatchTest, ErrorInHandlerStopsDispatchAtOnce) {
    bindHandler(button, evtButton, wEventHandler([](wEvent&) { throw std::runtime_error("broken"); }));
    bindHandler(button, evtButton, record("later"));
    bindHandler(panel, evtButton, record("parent"));
    wCommandEvent event(&button, evtButton);
    EXPECT_THROW(dispatchEvent(event), std::runtime_error);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchTest, BindingAddsTheMessageToTheApplicationSet) {
    EXPECT_FALSE(dispatcher.isConnected(evtDrop));
    bindHandler(button, evtDrop, record("drop"));
    EXPECT_TRUE(dispatcher.isConnected(evtDrop));
    bindToolkitHandler(button, evtMouseEnter, record("enter"));
    EXPECT_TRUE(dispatcher.isConnected(evtMouseEnter));
}

TEST_F(DispatchTest, HandlerMayBindMoreHandlersWhileItRuns) {
    // Many bindings force the list to reallocate under the running handler.
    bindHandler(panel, evtSize, wEventHandler([this](wEvent& event) {
                    for (int i = 0; i < 100; ++i) bindHandler(panel, evtSize, record("added", true));
                    calls.push_back("binder");
                    event.skip();
                }));
    wEvent event(&panel, evtSize);
    EXPECT_FALSE(dispatchEvent(event));
    ASSERT_EQ(calls.size(), 101u);
    EXPECT_EQ(calls.front(), "binder");
}

TEST_F(DispatchTest, TypedHandlerReceivesItsEventClass) {
    struct Data : wDataObject {
        std::vector<std::string> fileList() const override { return {"a", "b"}; }
    } data;
    std::vector<std::string> seen;
    bindHandler<wDragDropEvent>(panel, evtDrop, [&](wDragDropEvent& event) {
        seen = event.fileList();
        event.setEffect(dropEffectCopy);
    });
    wDragDropEvent event(&panel, evtDrop, &data, dropEffectNone, dropEffectCopy);
    EXPECT_TRUE(dispatchEvent(event));
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(event.effect(), dropEffectCopy);

    bindHandler<wDragDropEvent>(panel, evtSize, [](wDragDropEvent&) {});
    wEvent wrongClass(&panel, evtSize);
    EXPECT_THROW(dispatchEvent(wrongClass), runtime::ValueError);
}

TEST(EventClassTest, ClassAndFieldsFollowTheMessageNumber) {
    wDispatcher dispatcher;
    TestWindow window(dispatcher);
    auto click = makeEvent(&window, evtButton, 0x00050009, 0);
    ASSERT_NE(dynamic_cast<wCommandEvent*>(click.get()), nullptr);
    EXPECT_EQ(click->id(), 9u);
    EXPECT_EQ(click->propagationLevel(), 0x7FFFFFFF);

    auto size = makeEvent(&window, evtSize, 0x00050009, 0);
    EXPECT_EQ(dynamic_cast<wCommandEvent*>(size.get()), nullptr);
    EXPECT_EQ(size->id(), 0u);
    EXPECT_EQ(size->propagationLevel(), 0);
    EXPECT_EQ(size->result(), 0);

    auto drop = makeEvent(&window, evtDrop, 0, 0);
    ASSERT_NE(dynamic_cast<wDragDropEvent*>(drop.get()), nullptr);
    EXPECT_TRUE(static_cast<wDragDropEvent&>(*drop).fileList().empty());
}

}  // namespace
