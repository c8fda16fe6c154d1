// The file and folder dialogs, filled in by a timer that fires inside the
// dialog's own modal loop, as a user would fill them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "runtime/text.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/toolkit/win32_support.h"
#include "toolkit/dir_dialog.h"
#include "toolkit/file_dialog.h"
#include "toolkit/frame_win32.h"

using namespace toolkit;
using toolkittest::AppTest;

namespace {

// What the timer does once the dialog is up: type into the edit with the
// given id (when text is set), then press the button with the given id.
struct DialogScript {
    std::wstring title;
    int editId = 0;
    std::wstring text;
    int buttonId = IDOK;
    int ticks = 0;
    bool done = false;
};

DialogScript* script = nullptr;

HWND findChild(HWND parent, const wchar_t* className, int id) {
    struct Search {
        const wchar_t* className;
        int id;
        HWND found;
    } search{className, id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[32] = {};
            GetClassNameW(child, name, 32);
            if (GetDlgCtrlID(child) == s->id && _wcsicmp(name, s->className) == 0) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Only this thread's windows: parallel tests open dialogs with equal titles.
HWND findOwnDialog(const std::wstring& title) {
    struct Search {
        const std::wstring* title;
        HWND found;
    } search{&title, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[32] = {}, text[128] = {};
            GetClassNameW(window, name, 32);
            GetWindowTextW(window, text, 128);
            if (std::wstring(name) == L"#32770" && *s->title == text && IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CALLBACK onTick(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!script || script->done) return;
    ++script->ticks;
    HWND dialog = findOwnDialog(script->title);
    HWND button = dialog ? findChild(dialog, L"Button", script->buttonId) : nullptr;
    HWND edit = dialog && script->editId ? findChild(dialog, L"Edit", script->editId) : nullptr;
    if (!button || (script->editId && !edit)) {
        if (script->ticks > 400) KillTimer(nullptr, timer);  // 20 s: give up, the test fails on its timeout
        return;
    }
    if (edit) SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(script->text.c_str()));
    PostMessageW(button, BM_CLICK, 0, 0);
    script->done = true;
    KillTimer(nullptr, timer);
}

class DialogTest : public AppTest {
protected:
    std::shared_ptr<wFrame> frame = std::make_shared<wFrame>(app, "dialogs", wPoint{200, 200}, wSize{418, 350});
    testsupport::TempFolder folder;
    DialogScript current;

    void SetUp() override {
        frame->show();
        script = &current;
    }
    void TearDown() override { script = nullptr; }

    void arm(std::wstring title, int editId, std::wstring text, int buttonId) {
        current = DialogScript{std::move(title), editId, std::move(text), buttonId};
        SetTimer(nullptr, 0, 50, &onTick);
    }
};

std::wstring comparable(std::wstring path) {
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    std::transform(path.begin(), path.end(), path.begin(), [](wchar_t c) { return wchar_t(std::towlower(c)); });
    return path;
}

TEST_F(DialogTest, FileDialogReturnsTheChosenFile) {
    const std::string file = folder / "report.pdf";
    testsupport::writeText(file, "x");
    arm(L"Select a file", 1148, runtime::widen(file), IDOK);
    wFileDialog dialog(frame, "Select a file", "", "", "*.*", 0);
    ASSERT_TRUE(dialog.showModal());
    ASSERT_EQ(dialog.paths().size(), 1u);
    EXPECT_EQ(comparable(runtime::widen(dialog.path())), comparable(runtime::widen(file)));
}

TEST_F(DialogTest, FileDialogDoesNotInsistThatTheFileExists) {
    const std::string file = folder / "missing.bin";
    arm(L"Select a file", 1148, runtime::widen(file), IDOK);
    wFileDialog dialog(frame, "Select a file");
    ASSERT_TRUE(dialog.showModal());
    EXPECT_EQ(comparable(runtime::widen(dialog.path())), comparable(runtime::widen(file)));
}

TEST_F(DialogTest, CancelledFileDialogReturnsNothing) {
    arm(L"Select a file", 0, L"", IDCANCEL);
    wFileDialog dialog(frame, "Select a file");
    EXPECT_FALSE(dialog.showModal());
    EXPECT_TRUE(dialog.paths().empty());
    EXPECT_EQ(dialog.path(), "");
}

TEST_F(DialogTest, DirDialogReturnsTheChosenFolder) {
    arm(L"Select a dir", 1152, runtime::widen(folder.text()), IDOK);
    wDirDialog dialog(frame, "Select a dir");
    ASSERT_TRUE(dialog.showModal());
    EXPECT_EQ(comparable(runtime::widen(dialog.path())), comparable(runtime::widen(folder.text())));
}

TEST_F(DialogTest, CancelledDirDialogReturnsNothing) {
    arm(L"Select a dir", 0, L"", IDCANCEL);
    wDirDialog dialog(frame, "Select a dir");
    EXPECT_FALSE(dialog.showModal());
    EXPECT_EQ(dialog.path(), "");
}

TEST(FileDialogTextTest, WildcardBecomesAFilterBlock) {
    EXPECT_EQ(fileDialogFilter("*.*"), std::wstring(L"*.*\0*.*\0\0", 9));
    EXPECT_EQ(fileDialogFilter("Text|*.txt|All|*.*"), std::wstring(L"Text\0*.txt\0All\0*.*\0\0", 20));
}

TEST(FileDialogTextTest, MultipleSelectionJoinsFolderAndNames) {
    EXPECT_EQ(fileDialogPaths(std::wstring(L"C:\\data\\one.txt\0\0", 17)),
              (std::vector<std::string>{"C:\\data\\one.txt"}));
    EXPECT_EQ(fileDialogPaths(std::wstring(L"C:\\data\0a.txt\0b c.txt\0\0", 23)),
              (std::vector<std::string>{"C:\\data\\a.txt", "C:\\data\\b c.txt"}));
    EXPECT_TRUE(fileDialogPaths(std::wstring(L"\0\0", 2)).empty());
}

}  // namespace
