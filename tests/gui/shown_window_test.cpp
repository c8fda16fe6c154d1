// The main window on the screen: the panel's layout at several frame
// sizes and across minimising, maximising and restoring, and both dialogs
// cancelled.
#include <chrono>

#include "app/gui/actions.h"
#include "tests/gui/window_support.h"
#include "toolkit/message_numbers.h"
#include "ui/panel_layout.h"

using namespace std::chrono_literals;
using guitest::MainWindowTest;
using toolkit::wRect;
using toolkit::wSize;

namespace {

class FrameLayoutTest : public MainWindowTest {
protected:
    int passes = 0;

    void SetUp() override {
        MainWindowTest::SetUp();
        // The toolkit's own connections run before the program's handler.
        toolkit::bindToolkitHandler(*window->mainPanel, toolkit::evtSize, [this](toolkit::wEvent&) { ++passes; });
        showAt({620, 120});
    }

    std::vector<toolkit::wWindow*> row() const {
        return {window->homeLink.get(), window->openFolderButton.get(), window->openFileButton.get(),
                window->contactLink.get()};
    }

    std::vector<wRect> rects() const {
        std::vector<wRect> all{window->mainPanel->rect(), window->helpText->rect()};
        for (toolkit::wWindow* item : row()) all.push_back(item->rect());
        return all;
    }

    // What the title bar's buttons do.
    void systemCommand(WPARAM command) {
        SendMessageW(window->mainFrame->handle(), WM_SYSCOMMAND, command, 0);
        toolkittest::pumpFor(100ms);
    }

    // The arrangement, read from the rectangles the last pass gave the
    // controls. A width the solver made negative cannot be a window's: the
    // platform makes it 0, so only the others are compared with the windows.
    void expectArrangement() const {
        const wSize frameClient = window->mainFrame->clientSize();
        const wSize panel = window->mainPanel->clientSize();
        EXPECT_EQ(panel.width, frameClient.width);
        EXPECT_EQ(panel.height, frameClient.height - window->statusBar->size().height) << "the status bar below";
        const wRect text = ui::solvedRect(*window->helpText);
        EXPECT_EQ(text, (wRect{0, 0, panel.width, text.height})) << "the text box across the top";
        EXPECT_EQ(ui::solvedRect(*window->homeLink).x, 15);
        const wRect contact = ui::solvedRect(*window->contactLink);
        EXPECT_EQ(contact.x + contact.width, panel.width - 18);
        const std::vector<toolkit::wWindow*> items = row();
        for (std::size_t i = 0; i + 1 < items.size(); ++i) {
            const wRect left = ui::solvedRect(*items[i]);
            EXPECT_EQ(left.x + left.width + 10, ui::solvedRect(*items[i + 1]).x) << "gap " << i;
        }
        std::vector<toolkit::wWindow*> all = items;
        all.push_back(window->helpText.get());
        for (toolkit::wWindow* item : all) {
            const wRect solved = ui::solvedRect(*item);
            if (item != window->helpText.get()) {
                EXPECT_EQ(solved.y, text.height) << "right below the text box";
                EXPECT_EQ(solved.y + solved.height, panel.height) << "flush with the panel's bottom";
            }
            if (solved.width >= 0 && solved.height >= 0) {
                EXPECT_EQ(item->rect(), solved) << "placed as solved";
            }
        }
    }
};

TEST_F(FrameLayoutTest, ArrangementHoldsAtSeveralFrameSizes) {
    EXPECT_GE(passes, 1) << "showing the frame sizes the panel";
    expectArrangement();
    for (wSize size :
         {wSize{700, 500}, wSize{418, 350}, wSize{1000, 700}, wSize{300, 200}, wSize{160, 120}, wSize{418, 350}}) {
        SCOPED_TRACE(::testing::Message() << size.width << " x " << size.height);
        const int before = passes;
        window->mainFrame->setSize(size);
        toolkittest::drainMessages();
        EXPECT_GT(passes, before);
        expectArrangement();
    }
}

TEST_F(FrameLayoutTest, MinimisingRunsNoLayoutAndRestoringReapplies) {
    window->mainFrame->setSize({520, 400});
    toolkittest::drainMessages();
    const std::vector<wRect> before = rects();
    const int passesBefore = passes;

    systemCommand(SC_MINIMIZE);
    ASSERT_TRUE(IsIconic(window->mainFrame->handle()));
    EXPECT_EQ(passes, passesBefore) << "a minimised frame leaves the panel alone";
    EXPECT_EQ(rects(), before);

    systemCommand(SC_RESTORE);
    EXPECT_EQ(rects(), before);
    expectArrangement();

    systemCommand(SC_MAXIMIZE);
    const int passesMaximised = passes;
    EXPECT_GT(passesMaximised, passesBefore);
    EXPECT_GT(window->mainPanel->clientSize().width, 520);
    expectArrangement();

    systemCommand(SC_RESTORE);
    EXPECT_GT(passes, passesMaximised) << "restoring lays the panel out again";
    EXPECT_EQ(window->mainFrame->size(), (wSize{520, 400}));
    expectArrangement();
}

TEST_F(FrameLayoutTest, LayoutIsBuiltOnceForThePanel) {
    ASSERT_NE(window->panelLayout, nullptr);
    const ui::PanelLayout* first = window->panelLayout.get();
    EXPECT_EQ(first->panel, window->mainPanel);
    EXPECT_EQ(first->windows.size(), 5u);
    window->mainFrame->setSize({600, 420});
    toolkittest::drainMessages();
    EXPECT_EQ(window->panelLayout.get(), first);
}

// Presses Cancel in this thread's dialog once it is up; a timer without a
// window fires inside the dialog's own modal loop.
HWND ownDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM out) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(candidate, name, 16);
            if (std::wstring(name) != L"#32770" || !IsWindowVisible(candidate)) return TRUE;
            *reinterpret_cast<HWND*>(out) = candidate;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<std::wstring> dialogTitles;

void CALLBACK cancelOwnDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    if (HWND dialog = ownDialog()) {
        wchar_t title[64] = {};
        GetWindowTextW(dialog, title, 64);
        dialogTitles.push_back(title);
        KillTimer(nullptr, timer);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

TEST_F(MainWindowTest, CancellingEitherDialogLeavesTheStatusLineAsItWas) {
    showAt({620, 120});
    window->statusBar->setStatusText(" Done! - C:\\earlier\\zz_a.wav - 10:00:00");
    statusTexts.clear();
    dialogTitles.clear();
    for (auto action : {&app::onOpenFile, &app::onOpenFolder}) {
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &cancelOwnDialog);
        action(*window);
        KillTimer(nullptr, timer);
    }
    EXPECT_TRUE(statusTexts.empty());
    EXPECT_EQ(statusText(), " Done! - C:\\earlier\\zz_a.wav - 10:00:00");
    EXPECT_EQ(dialogTitles, (std::vector<std::wstring>{L"Select a file", L"Select a dir"}));
}

}  // namespace
