#pragma once
// The program's main window built in the test process by the program's own
// code, with a configuration folder of the test's own, a record of every
// text the status line was given, and the links' opener replaced.

// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
// clang-format on

#include <memory>
#include <string>
#include <vector>

#include "app/config/settings_table.h"
#include "app/gui/main_window.h"
#include "runtime/text.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "tests/toolkit/win32_support.h"

namespace guitest {

class MainWindowTest : public ::testing::Test {
protected:
    testsupport::TempFolder folder;
    app::SettingsTable settings;
    std::unique_ptr<app::MainWindow> window;
    std::vector<std::string> statusTexts;  // every text set, in order
    std::vector<std::string> opened;       // what the links asked to open

    void SetUp() override {
        window = app::buildMainWindow(settings, folder.text());
        window->app->setUrlOpener([this](const std::string& url) { opened.push_back(url); });
        SetWindowSubclass(window->statusBar->handle(), &recordStatusText, statusRecorderId,
                          reinterpret_cast<DWORD_PTR>(this));
    }

    void TearDown() override {
        if (window && window->statusBar->isAlive())
            RemoveWindowSubclass(window->statusBar->handle(), &recordStatusText, statusRecorderId);
        window.reset();
    }

    // Shows the frame at a place of the screen no other test uses.
    void showAt(toolkit::wPoint position) {
        window->mainFrame->move(position);
        window->mainFrame->show(SW_SHOWNORMAL);
        toolkittest::drainMessages();
    }

    std::string write(const std::string& name, const testsupport::Bytes& bytes) {
        const std::string path = folder / name;
        testsupport::writeFile(path, bytes);
        return path;
    }

    std::string makeFolder(const std::string& name) {
        const std::string path = folder / name;
        std::filesystem::create_directories(testsupport::pathOf(path));
        return path;
    }

    std::string statusText() const { return window->statusBar->statusText(); }

private:
    static constexpr UINT_PTR statusRecorderId = 0x5154;

    static LRESULT CALLBACK recordStatusText(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self) {
        if (message == SB_SETTEXTW && LOBYTE(LOWORD(wParam)) == 0 && lParam)
            reinterpret_cast<MainWindowTest*>(self)->statusTexts.push_back(
                runtime::narrow(reinterpret_cast<const wchar_t*>(lParam)));
        return DefSubclassProc(handle, message, wParam, lParam);
    }
};

}  // namespace guitest
