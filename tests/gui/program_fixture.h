#pragma once
// The real quenmarl.exe, copied into a folder of the test's own (where it
// writes its configuration file) and started from there.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "runtime/text.h"
#include "tests/gui/program_driver.h"
#include "tests/support/files.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"

namespace guitest {

using namespace std::chrono_literals;

inline const std::wstring frameClass = L"wFrame";
inline const std::wstring frameTitle = L"Quenmarl 20.07.30";

inline std::string programPath() { return testsupport::hostPath(QUENMARL_GUI_PATH); }

class ProgramTest : public ::testing::Test {
protected:
    testsupport::TempFolder folder;
    std::string exe = folder / "quenmarl.exe";

    void SetUp() override { std::filesystem::copy_file(testsupport::pathOf(programPath()), testsupport::pathOf(exe)); }

    std::unique_ptr<ChildProcess> start() {
        return std::make_unique<ChildProcess>(L"\"" + runtime::widen(exe) + L"\"", runtime::widen(folder.text()));
    }

    static HWND waitForFrame(const ChildProcess& program) {
        HWND frame = nullptr;
        waitUntil(
            [&] {
                frame = findTopLevel(program.id(), frameClass, &frameTitle);
                // The frame can be found before its children exist.
                return frame && findDescendant(frame, L"msctls_statusbar32");
            },
            15s);
        return frame;
    }

    static HWND waitForDialog(const ChildProcess& program, const std::wstring& title) {
        HWND dialog = nullptr;
        waitUntil([&] { return (dialog = findTopLevel(program.id(), L"#32770", &title)) != nullptr; }, 10s);
        return dialog;
    }

    // Types the path into the dialog's file-name edit and confirms.
    static void fillAndConfirm(HWND dialog, HWND edit, const std::string& path) {
        ASSERT_NE(edit, nullptr);
        const std::wstring text = runtime::widen(path);
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        HWND ok = GetDlgItem(dialog, IDOK);
        ASSERT_NE(ok, nullptr);
        PostMessageW(ok, BM_CLICK, 0, 0);
    }

    static void click(HWND frame, const std::wstring& caption) {
        HWND button = findDescendantByText(frame, L"Button", caption);
        ASSERT_NE(button, nullptr) << runtime::narrow(caption);
        // Posted: a sent click would wait until the dialog it opens is closed.
        PostMessageW(button, BM_CLICK, 0, 0);
    }

    static std::string statusText(HWND frame) {
        return runtime::narrow(windowText(findDescendant(frame, L"msctls_statusbar32")));
    }
};

}  // namespace guitest
