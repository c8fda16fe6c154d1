// The link under the real pointer: mouse tracking, the hand cursor, and a
// drag out with the real button. These tests move the pointer, so ctest runs
// them one at a time (RESOURCE_LOCK pointer).
#include <gtest/gtest.h>

#include <chrono>

#include "tests/ui/hyperlink_support.h"
#include "toolkit/cursor_win32.h"

using namespace std::chrono_literals;
using namespace toolkit;
using toolkittest::pumpUntil;

namespace {

void sendPointer(DWORD flags, POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG(MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = LONG(MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void movePointer(POINT screen) { sendPointer(0, screen); }

class PointerTest : public uitest::HyperlinkTest {
protected:
    void SetUp() override {
        framePosition = {1100, 600};
        HyperlinkTest::SetUp();
        link->setHoverFont(std::make_shared<wFont>(9.5, FW_BOLD, true));
        SetWindowPos(frame->handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        toolkittest::pumpFor(100ms);
    }

    void TearDown() override {
        movePointer(POINT{1910, 1070});  // parked away from every test window
        HyperlinkTest::TearDown();
    }

    POINT onLink() const {
        RECT r{};
        GetWindowRect(link->handle(), &r);
        return POINT{r.left + 4, (r.top + r.bottom) / 2};
    }

    // A point inside the panel, well away from the link.
    POINT besideLink() const {
        RECT r{};
        GetWindowRect(panel->handle(), &r);
        return POINT{r.right - 40, r.bottom - 40};
    }
};

TEST_F(PointerTest, HoverShowsHandAndHoverFontAndLeavingRestoresThem) {
    const wRect before = link->rect();
    movePointer(onLink());
    ASSERT_TRUE(pumpUntil([&] { return link->isMouseIn(); }, 2000ms));
    EXPECT_EQ(link->font(), link->hoverFont());
    EXPECT_EQ(link->position(), (wPoint{before.x, before.y}));
    EXPECT_GT(link->size().width, before.width);
    EXPECT_EQ(GetCursor(), app->handCursor()->handle());

    movePointer(besideLink());
    // The platform reports the leave some 400 ms after the pointer went.
    ASSERT_TRUE(pumpUntil([&] { return !link->isMouseIn(); }, 2000ms));
    EXPECT_EQ(link->font(), link->normalFont());
    EXPECT_EQ(link->rect(), before);
    EXPECT_TRUE(opened.empty());
}

TEST_F(PointerTest, RealPressDragOutAndReleaseOpensNothingButAClickDoes) {
    movePointer(onLink());
    ASSERT_TRUE(pumpUntil([&] { return link->isMouseIn(); }, 2000ms));
    sendPointer(MOUSEEVENTF_LEFTDOWN, onLink());
    ASSERT_TRUE(pumpUntil([&] { return link->isPressed(); }, 2000ms));
    movePointer(besideLink());
    ASSERT_TRUE(pumpUntil([&] { return !link->isMouseIn(); }, 2000ms));
    sendPointer(MOUSEEVENTF_LEFTUP, besideLink());
    ASSERT_TRUE(pumpUntil([&] { return !link->isPressed(); }, 2000ms));
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(link->isVisited());

    // Away from the first press, or the platform makes it a double click.
    POINT elsewhereOnLink = onLink();
    elsewhereOnLink.x += 3 * GetSystemMetrics(SM_CXDOUBLECLK);
    movePointer(elsewhereOnLink);
    ASSERT_TRUE(pumpUntil([&] { return link->isMouseIn(); }, 2000ms));
    sendPointer(MOUSEEVENTF_LEFTDOWN, elsewhereOnLink);
    sendPointer(MOUSEEVENTF_LEFTUP, elsewhereOnLink);
    ASSERT_TRUE(pumpUntil([&] { return !opened.empty(); }, 2000ms));
    EXPECT_EQ(opened, (std::vector<std::string>{"https://quenmarl.example.org/"}));
    EXPECT_TRUE(link->isVisited());
}

}  // namespace
