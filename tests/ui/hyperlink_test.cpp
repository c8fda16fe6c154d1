// The link's state machine, driven by the messages its handlers take:
// colours, fonts, fitting, the link event and its veto, and the shell call.
#include <gtest/gtest.h>

#include "tests/ui/hyperlink_support.h"
#include "toolkit/cursor_win32.h"
#include "toolkit/message_numbers.h"

using namespace toolkit;
using uitest::HyperlinkTest;

namespace {

constexpr wColor blue = 0xFF0000;
constexpr wColor purple = 0x8B1A55;
constexpr wColor red = 0x0000FF;

TEST_F(HyperlinkTest, StartsBlueIdleFittedWithAHandCursor) {
    EXPECT_EQ(link->normalColor(), blue);
    EXPECT_EQ(link->visitedColor(), purple);
    EXPECT_EQ(link->pressedColor(), red);
    EXPECT_EQ(link->foregroundColor(), blue);
    EXPECT_FALSE(link->isMouseIn());
    EXPECT_FALSE(link->isPressed());
    EXPECT_FALSE(link->isVisited());
    EXPECT_EQ(link->url(), "https://quenmarl.example.org/");
    EXPECT_EQ(link->size(), link->bestSize());
    EXPECT_EQ(link->cursor(), app->handCursor());
    EXPECT_TRUE(GetWindowLongW(link->handle(), GWL_STYLE) & SS_NOTIFY);
}

TEST_F(HyperlinkTest, HoverFontIsAnUnderlinedCopyOfTheNormalFont) {
    EXPECT_EQ(link->normalFont(), link->font());
    EXPECT_TRUE(link->hoverFont()->isUnderlined());
    EXPECT_FALSE(link->normalFont()->isUnderlined());
    EXPECT_EQ(link->hoverFont()->logFont().lfHeight, link->normalFont()->logFont().lfHeight);
    EXPECT_EQ(link->hoverFont()->faceName(), link->normalFont()->faceName());
    EXPECT_EQ(link->hoverFont()->weight(), link->normalFont()->weight());
}

TEST_F(HyperlinkTest, CompletedClickOpensTheUrlAndStaysBlueUntilLeft) {
    enter();
    press();
    EXPECT_TRUE(link->isPressed());
    EXPECT_EQ(link->foregroundColor(), red);
    EXPECT_EQ(GetCapture(), link->handle());
    release();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(opened, (std::vector<std::string>{"https://quenmarl.example.org/"}));
    EXPECT_TRUE(link->isVisited());
    EXPECT_EQ(link->foregroundColor(), blue);  // the colour from before the click
    leave();
    EXPECT_EQ(link->foregroundColor(), purple);
    enter();
    EXPECT_EQ(link->foregroundColor(), purple);
}

TEST_F(HyperlinkTest, PressDragOutReleaseOpensNothing) {
    enter();
    press();
    leave();
    EXPECT_EQ(link->foregroundColor(), blue);  // resting colour even while held
    release();
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(link->isVisited());
    EXPECT_FALSE(link->isPressed());
    EXPECT_EQ(link->foregroundColor(), blue);
}

TEST_F(HyperlinkTest, DraggingBackInShowsPressedAndReleasingOpens) {
    enter();
    press();
    leave();
    enter();
    EXPECT_EQ(link->foregroundColor(), red);
    release();
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(HyperlinkTest, PressElsewhereAndReleaseOnTheLinkOpensNothing) {
    enter();
    release();
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(link->isVisited());
}

TEST_F(HyperlinkTest, EmptyUrlMarksVisitedWithoutEventOrShellCall) {
    int events = 0;
    bindHandler(*panel, ui::evtMyLink, wEventHandler([&](wEvent&) { ++events; }));
    link->setUrl("");
    enter();
    click();
    EXPECT_TRUE(link->isVisited());
    EXPECT_EQ(events, 0);
    EXPECT_TRUE(opened.empty());
}

TEST_F(HyperlinkTest, VetoByResultOneSuppressesTheShellCallButStillVisits) {
    bindHandler(*link, ui::evtMyLink, wEventHandler([](wEvent& event) { event.setResult(1); }));
    enter();
    click();
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(link->isVisited());
}

TEST_F(HyperlinkTest, VetoFromAParentWindowCounts) {
    const wEventTarget* source = nullptr;
    bindHandler(*frame, ui::evtMyLink, wEventHandler([&](wEvent& event) {
        source = event.window();
        event.setResult(1);
    }));
    enter();
    click();
    EXPECT_EQ(source, link.get());
    EXPECT_TRUE(opened.empty());
}

TEST_F(HyperlinkTest, SkippingHandlerDoesNotVetoWhateverItsResult) {
    int ran = 0;
    bindHandler(*link, ui::evtMyLink, wEventHandler([&](wEvent& event) {
        ++ran;
        event.setResult(1);
        event.skip();  // not processed: the result does not count
    }));
    enter();
    click();
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(HyperlinkTest, ProcessingHandlerWithResultZeroDoesNotVeto) {
    int ran = 0;
    bindHandler(*panel, ui::evtMyLink, wEventHandler([&](wEvent&) { ++ran; }));
    enter();
    click();
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(HyperlinkTest, ResultSetByASkippingHandlerStillCountsForTheOneThatProcesses) {
    // The result belongs to the event, not to one handler.
    bindHandler(*link, ui::evtMyLink, wEventHandler([](wEvent& event) {
        event.setResult(1);
        event.skip();
    }));
    bindHandler(*panel, ui::evtMyLink, wPlainHandler([] {}));
    enter();
    click();
    EXPECT_TRUE(opened.empty());
}

TEST_F(HyperlinkTest, EnterAndLeaveSwapFontsAndFitKeepingTheTopLeftCorner) {
    link->setNormalFont(std::make_shared<wFont>(9.5, FW_NORMAL, false));
    link->setHoverFont(std::make_shared<wFont>(9.5, FW_BOLD, true));
    link->move({15, 100});
    const wSize normalSize = link->size();
    EXPECT_EQ(normalSize, link->bestSize());

    enter();
    EXPECT_TRUE(link->isMouseIn());
    EXPECT_EQ(link->font(), link->hoverFont());
    EXPECT_EQ(link->position(), (wPoint{15, 100}));
    EXPECT_EQ(link->size(), link->bestSize());
    EXPECT_GT(link->size().width, normalSize.width);  // bold is wider

    leave();
    EXPECT_FALSE(link->isMouseIn());
    EXPECT_EQ(link->font(), link->normalFont());
    EXPECT_EQ(link->position(), (wPoint{15, 100}));
    EXPECT_EQ(link->size(), normalSize);
}

TEST_F(HyperlinkTest, NormalFontAppliesAtOnceEvenWhileInside) {
    enter();
    auto font = std::make_shared<wFont>(14.0);
    link->setNormalFont(font);
    EXPECT_EQ(link->font(), font);
    EXPECT_EQ(link->size(), link->bestSize());
}

TEST_F(HyperlinkTest, HoverFontWaitsForTheNextEnterWhileOutside) {
    const wSize before = link->size();
    auto font = std::make_shared<wFont>(16.0, FW_BOLD, true);
    link->setHoverFont(font);
    EXPECT_EQ(link->font(), link->normalFont());
    EXPECT_EQ(link->size(), before);
    enter();
    EXPECT_EQ(link->font(), font);
    EXPECT_GT(link->size().height, before.height);
}

TEST_F(HyperlinkTest, HoverFontAppliesAtOnceWhileInside) {
    enter();
    auto font = std::make_shared<wFont>(16.0, FW_BOLD, true);
    link->setHoverFont(font);
    EXPECT_EQ(link->font(), font);
    EXPECT_EQ(link->size(), link->bestSize());
}

TEST_F(HyperlinkTest, SetUrlChangesNothingElse) {
    const wSize before = link->size();
    link->setUrl("mailto:support@quenmarl.example.org");
    EXPECT_EQ(link->size(), before);
    EXPECT_EQ(link->label(), "Visit Home");
    enter();
    click();
    EXPECT_EQ(opened, (std::vector<std::string>{"mailto:support@quenmarl.example.org"}));
}

TEST_F(HyperlinkTest, PointerMovesRaiseEnterOnceAndLeaveWhenCapturedOutside) {
    int enters = 0;
    bindToolkitHandler(*link, evtMouseEnter, [&](wEvent&) { ++enters; });
    SendMessageW(link->handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    SendMessageW(link->handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(enters, 1);
    EXPECT_TRUE(link->isMouseIn());
    press();
    // Captured: moves outside still reach the link, and end the hover at once.
    SendMessageW(link->handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, -20));
    EXPECT_FALSE(link->isMouseIn());
    release();
    EXPECT_TRUE(opened.empty());
}

}  // namespace
