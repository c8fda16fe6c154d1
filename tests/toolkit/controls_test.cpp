// Controls, fonts, cursors and icons: default sizes measured the way the
// layout expects, the rich-edit variant, colours and the cursor.
// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <gtest/gtest.h>
#include <richedit.h>
// clang-format on

#include <cmath>

#include "runtime/text.h"
#include "tests/toolkit/win32_support.h"
#include "toolkit/button_win32.h"
#include "toolkit/cursor_win32.h"
#include "toolkit/errors.h"
#include "toolkit/font_win32.h"
#include "toolkit/frame_win32.h"
#include "toolkit/icon_win32.h"
#include "toolkit/panel_win32.h"
#include "toolkit/static_text_win32.h"
#include "toolkit/text_ctrl_win32.h"

using namespace toolkit;
using toolkittest::AppTest;

namespace {

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

int screenDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

// Height of a one-line combo box in the font, measured independently.
int comboHeight(HFONT font) {
    HWND combo = CreateWindowExW(0, L"ComboBox", L"", WS_POPUP | CBS_DROPDOWNLIST, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    SendMessageW(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    RECT rect{};
    GetWindowRect(combo, &rect);
    DestroyWindow(combo);
    return rect.bottom - rect.top;
}

class ControlsTest : public AppTest {
protected:
    std::shared_ptr<wFrame> frame = std::make_shared<wFrame>(app, "controls", wPoint{80, 80}, wSize{418, 350});
    std::shared_ptr<wPanel> panel = std::make_shared<wPanel>(frame);
};

TEST_F(ControlsTest, ChildrenInheritTheDefaultMessageFont) {
    auto button = std::make_shared<wButton>(panel, wDefaultId, "Open file");
    EXPECT_EQ(button->font(), app->defaultFont());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(button->handle(), WM_GETFONT, 0, 0)), app->defaultFont()->handle());
    EXPECT_EQ(app->defaultFont()->weight(), 400);
    EXPECT_EQ(app->defaultFont()->faceName(), runtime::narrow(messageFontFace()));
}

TEST_F(ControlsTest, ButtonDefaultSizeIsFiftyByFourteenDialogUnits) {
    auto button = std::make_shared<wButton>(panel, wDefaultId, "Open folder");
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, app->defaultFont()->handle());
    SIZE letters{};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int average = (letters.cx / 26 + 1) / 2;
    EXPECT_EQ(button->size(), (wSize{MulDiv(average, 50, 4), MulDiv(letters.cy, 14, 8)}));
}

TEST_F(ControlsTest, MultiLineTextDefaultIs120WideAndThreeComboBoxesTall) {
    auto text = std::make_shared<wTextCtrl>(panel, wDefaultId, "", wDefaultPosition, wDefaultSize,
                                            ES_MULTILINE | ES_READONLY | wTeRich);
    EXPECT_EQ(text->size(), (wSize{120, 3 * comboHeight(app->defaultFont()->handle())}));
    auto single = std::make_shared<wTextCtrl>(panel, wDefaultId, "");
    EXPECT_EQ(single->size(), (wSize{120, comboHeight(app->defaultFont()->handle())}));
}

TEST_F(ControlsTest, StaticTextDefaultIsBestWidthAndOneComboBoxTall) {
    auto label = std::make_shared<wStaticText>(panel, wDefaultId, "Visit Home");
    const wSize best = label->bestSize();
    EXPECT_EQ(label->size(), (wSize{best.width, comboHeight(app->defaultFont()->handle())}));
    // Best size: the label's extent plus 2 each way, in the current font.
    auto bigger = std::make_shared<wFont>(20.0, FW_BOLD);
    label->setFont(bigger);
    EXPECT_GT(label->bestSize().width, best.width);
    EXPECT_GT(label->bestSize().height, best.height);
}

TEST_F(ControlsTest, ExplicitSizesAndPositionsAreKept) {
    auto button = std::make_shared<wButton>(panel, 7, "x", wPoint{3, 4}, wSize{70, 25});
    EXPECT_EQ(button->rect(), (wRect{3, 4, 70, 25}));
}

TEST_F(ControlsTest, FontSizesInPointsKeepTheirFractions) {
    wFont font(9.5, FW_NORMAL);
    EXPECT_DOUBLE_EQ(font.pointSize(), 9.5);
    EXPECT_EQ(font.logFont().lfHeight, -LONG(std::lround(9.5 * screenDpi() / 72.0)));
    EXPECT_EQ(font.faceName(), runtime::narrow(messageFontFace()));

    wFont bold(9.5, FW_BOLD, true);
    auto copy = bold.withUnderline(false);
    EXPECT_EQ(copy->logFont().lfHeight, bold.logFont().lfHeight);
    EXPECT_EQ(copy->weight(), FW_BOLD);
    EXPECT_FALSE(copy->isUnderlined());
    EXPECT_EQ(copy->faceName(), bold.faceName());
    EXPECT_DOUBLE_EQ(copy->pointSize(), 9.5);
    EXPECT_NE(copy->handle(), bold.handle());
}

TEST_F(ControlsTest, RichVariantIsARichEditThatTakesRtf) {
    ASSERT_TRUE(app->hasRichEdit());
    auto text = std::make_shared<wTextCtrl>(panel, wDefaultId, "", wDefaultPosition, wSize{300, 100},
                                            ES_MULTILINE | ES_READONLY | wTeRich);
    EXPECT_TRUE(text->isRich());
    EXPECT_EQ(_wcsicmp(className(text->handle()).c_str(), L"RICHEDIT50W"), 0);  // class names ignore case
    EXPECT_TRUE(GetWindowLongW(text->handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    text->setValue("  1. Drag and drop\n\n  2. zz_");
    text->setModified(true);
    text->setModified(false);
    EXPECT_FALSE(text->isModified());
    text->setMargins(15, 15);

    text->loadRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Drop a file {\\b here}\\par}");
    EXPECT_EQ(text->value().rfind("Drop a file here", 0), 0u);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(text->handle(), EM_SETSEL, 12, 13);
    SendMessageW(text->handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE(format.dwEffects & CFE_BOLD);
}

TEST_F(ControlsTest, PlainVariantIsAnEditThatIgnoresRtf) {
    auto text = std::make_shared<wTextCtrl>(panel, wDefaultId, "plain", wDefaultPosition, wDefaultSize,
                                            ES_MULTILINE | ES_READONLY);
    EXPECT_FALSE(text->isRich());
    EXPECT_EQ(_wcsicmp(className(text->handle()).c_str(), L"EDIT"), 0);
    text->loadRtf("{\\rtf1 other}");
    EXPECT_EQ(text->value(), "plain");
}

TEST_F(ControlsTest, StaticPaintsInItsForegroundColourOnItsParentsBackground) {
    auto label = std::make_shared<wStaticText>(panel, wDefaultId, "colour");
    label->setForegroundColor(rgb(0, 0, 255));
    HDC dc = GetDC(label->handle());
    const LRESULT brush = SendMessageW(panel->handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(label->handle()));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetTextColor(dc), rgb(0, 0, 255));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    ReleaseDC(label->handle(), dc);
}

TEST_F(ControlsTest, WindowCursorAnswersSetCursor) {
    auto label = std::make_shared<wStaticText>(panel, wDefaultId, "hand", wDefaultPosition, wDefaultSize, SS_NOTIFY);
    auto hand = app->handCursor();
    EXPECT_EQ(hand, app->handCursor());  // one shared cursor per application
    label->setCursor(hand);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(SendMessageW(label->handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label->handle()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), hand->handle());
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(ControlsTest, IconComesFromAnExecutablesIconGroups) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    wIcon icon(runtime::narrow(system) + "\\shell32.dll", 0);
    EXPECT_NE(icon.handle(), nullptr);
    EXPECT_EQ(icon.size(), (wSize{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)}));
    frame->setIcon(std::make_shared<wIcon>(runtime::narrow(system) + "\\shell32.dll", 0));
    EXPECT_NE(SendMessageW(frame->handle(), WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(ControlsTest, OwnExecutableWithoutIconsGivesIconError) {
    try {
        wIcon icon("", 0);  // the test program carries no icon group
        FAIL() << "an icon was made";
    } catch (const wIconError& error) {
        EXPECT_STREQ(error.what(), "wIcon creation failed");
        EXPECT_STREQ(error.typeName(), "wIconError");
    }
}

TEST(ToolkitErrorsTest, CreationErrorsCarryTheirMessages) {
    EXPECT_STREQ(wCursorError().what(), "wCursor creation failed");
    EXPECT_STREQ(wCursorError().typeName(), "wCursorError");
    EXPECT_STREQ(wFontError().what(), "wFont creation failed");
}

}  // namespace
