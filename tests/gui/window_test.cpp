// The main window as start-up builds it, before it is shown: its windows,
// texts, styles and fonts, its links, its drop target and its placement.
#include "tests/gui/window_support.h"

// clang-format off
#include <commdlg.h>
#include <richedit.h>
// clang-format on

#include "app/gui/captions.h"
#include "toolkit/font_win32.h"
#include "toolkit/icon_win32.h"
#include "toolkit/message_numbers.h"

using guitest::MainWindowTest;
using toolkit::wRect;
using toolkit::wSize;

namespace {

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LONG style(HWND window) { return GetWindowLongW(window, GWL_STYLE); }
LONG exStyle(HWND window) { return GetWindowLongW(window, GWL_EXSTYLE); }

TEST_F(MainWindowTest, FrameIsTheTitledHiddenCompositedWFrame) {
    HWND frame = window->mainFrame->handle();
    EXPECT_EQ(className(frame), L"wFrame");
    EXPECT_EQ(window->mainFrame->label(), "Quenmarl 20.07.30");
    EXPECT_EQ(window->mainFrame->size(), (wSize{418, 350}));
    EXPECT_EQ(style(frame) & (WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN), LONG(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN));
    EXPECT_TRUE(exStyle(frame) & WS_EX_COMPOSITED);
    EXPECT_FALSE(IsWindowVisible(frame)) << "created hidden; start-up shows it after placing it";
    EXPECT_NE(SendMessageW(frame, WM_GETICON, ICON_SMALL, 0), 0) << "the executable's first icon";
    EXPECT_EQ(className(window->mainPanel->handle()), L"wPanel");
    EXPECT_EQ(window->mainFrame->statusBar(), window->statusBar.get());
    EXPECT_EQ(SendMessageW(window->statusBar->handle(), SB_GETPARTS, 0, 0), 1);
}

TEST_F(MainWindowTest, HelpTextIsAReadOnlyRichDropTargetInTwelvePoints) {
    HWND box = window->helpText->handle();
    EXPECT_EQ(_wcsicmp(className(box).c_str(), L"RICHEDIT50W"), 0) << className(box);
    EXPECT_EQ(style(box) & (ES_MULTILINE | ES_READONLY), ES_MULTILINE | ES_READONLY);
    EXPECT_TRUE(exStyle(box) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(window->helpText->isDropTarget());
    EXPECT_EQ(window->helpText->font()->pointSize(), 12.0);
    EXPECT_EQ(window->helpText->font()->weight(), FW_NORMAL);
    EXPECT_EQ(window->helpText->font()->faceName(), runtime::narrow(toolkit::messageFontFace()));
    // The rich text shows the help without its asterisks, bold where they were.
    const std::string shown = window->helpText->value();
    EXPECT_NE(shown.find("Drag and drop a folder or file here"), std::string::npos) << shown;
    EXPECT_NE(shown.find("https://quenmarl.example.org/"), std::string::npos);
    EXPECT_EQ(shown.find("**"), std::string::npos);
    FINDTEXTEXW find{{0, -1}, L"Open Folder", {}};
    const LRESULT at = SendMessageW(box, EM_FINDTEXTEXW, FR_DOWN, reinterpret_cast<LPARAM>(&find));
    ASSERT_GE(at, 0);
    SendMessageW(box, EM_SETSEL, at, at + 4);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(box, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE((format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD));
    EXPECT_EQ(format.yHeight, 240) << "12 points in twips";
}

TEST_F(MainWindowTest, ButtonsAndLinksCarryTheirCaptionsTargetsStylesAndFonts) {
    EXPECT_EQ(window->openFolderButton->label(), "Open folder");
    EXPECT_EQ(window->openFileButton->label(), "Open file");
    EXPECT_NE(window->openFolderButton->font(), window->openFileButton->font()) << "a font of its own each";
    for (const auto& button : {window->openFolderButton, window->openFileButton}) {
        EXPECT_EQ(button->font()->pointSize(), 9.5);
        EXPECT_EQ(button->font()->weight(), FW_NORMAL);
        EXPECT_FALSE(button->font()->isUnderlined());
    }
    EXPECT_EQ(window->homeLink->label(), "Visit Home");
    EXPECT_EQ(window->homeLink->url(), "https://quenmarl.example.org/");
    EXPECT_EQ(style(window->homeLink->handle()) & (SS_TYPEMASK | SS_CENTERIMAGE), SS_CENTER | SS_CENTERIMAGE);
    EXPECT_EQ(window->contactLink->label(), "Contact Author");
    EXPECT_EQ(window->contactLink->url(), "mailto:support@quenmarl.example.org");
    EXPECT_EQ(style(window->contactLink->handle()) & (SS_TYPEMASK | SS_CENTERIMAGE), SS_RIGHT | SS_CENTERIMAGE);
    for (const auto& link : {window->homeLink, window->contactLink}) {
        EXPECT_EQ(link->normalFont()->pointSize(), 9.5);
        EXPECT_EQ(link->normalFont()->weight(), FW_NORMAL);
        EXPECT_FALSE(link->normalFont()->isUnderlined());
        EXPECT_EQ(link->hoverFont()->pointSize(), 9.5);
        EXPECT_EQ(link->hoverFont()->weight(), FW_BOLD);
        EXPECT_TRUE(link->hoverFont()->isUnderlined());
        EXPECT_NE(link->normalFont(), link->hoverFont());
    }
    EXPECT_NE(window->homeLink->normalFont(), window->contactLink->normalFont());
}

TEST_F(MainWindowTest, LinksOpenTheHomePageAndTheSupportMailbox) {
    // What the link's handlers take when the pointer comes in and clicks.
    for (const auto& link : {window->homeLink, window->contactLink}) {
        SendMessageW(link->handle(), toolkit::evtMouseEnter, 0, 0);
        SendMessageW(link->handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(link->handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        SendMessageW(link->handle(), WM_MOUSELEAVE, 0, 0);
    }
    EXPECT_EQ(opened,
              (std::vector<std::string>{"https://quenmarl.example.org/", "mailto:support@quenmarl.example.org"}));
}

TEST_F(MainWindowTest, OnlyTheHelpTextTakesDrops) {
    EXPECT_NE(GetPropW(window->helpText->handle(), L"OleDropTargetInterface"), nullptr);
    for (const toolkit::wWindow* other : std::initializer_list<const toolkit::wWindow*>{
             window->mainFrame.get(), window->mainPanel.get(), window->openFolderButton.get(),
             window->openFileButton.get(), window->homeLink.get(), window->contactLink.get(), window->statusBar.get()})
        EXPECT_EQ(GetPropW(other->handle(), L"OleDropTargetInterface"), nullptr);
}

TEST_F(MainWindowTest, PlacedWithItsEdges100PixelsInsideTheScreen) {
    app::placeMainFrame(*window);
    const wSize screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const wRect at = window->mainFrame->rect();
    EXPECT_EQ(at.x + at.width, screen.width - 100);
    EXPECT_EQ(at.y + at.height, screen.height - 100);
    if (screen == wSize{1920, 1080}) {
        EXPECT_EQ(at, (wRect{1402, 630, 418, 350}));
    }
}

}  // namespace
