// The real quenmarl.exe, copied into a folder of its own and used from
// outside as a person would: the configuration file it writes, where its
// window appears, both buttons with their dialogs, the status line, closing
// it, and the error box when the configuration file cannot be written.
#include <regex>

#include "tests/gui/program_fixture.h"

using namespace std::chrono_literals;

namespace {

using guitest::ChildProcess;
using guitest::frameClass;
using guitest::frameTitle;
using guitest::ProgramTest;

bool isDoneLine(const std::string& text, const std::string& output) {
    static const std::regex time(" - [0-2][0-9]:[0-5][0-9]:[0-5][0-9]$");
    return text.rfind(" Done! - " + output + " - ", 0) == 0 && std::regex_search(text, time) &&
           text.size() == 9 + output.size() + 11;
}

std::uintmax_t sizeOf(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(testsupport::pathOf(path), error);
    return error ? 0 : size;
}

TEST_F(ProgramTest, BothButtonsConvertBesideTheInputAndClosingEndsWithStatusZero) {
    const std::string song = folder / "song.mp3";
    testsupport::writeFile(song, testsupport::randomBytes(5000, 11));
    std::filesystem::create_directories(testsupport::pathOf(folder / "album"));
    testsupport::writeFile(folder / "album" + "\\a.bin", testsupport::randomBytes(300, 12));
    testsupport::writeFile(folder / "album" + "\\b.txt", testsupport::randomBytes(700, 13));

    auto program = start();
    HWND frame = waitForFrame(*program);
    ASSERT_NE(frame, nullptr) << "no window of class wFrame titled " << runtime::narrow(frameTitle);

    // The configuration file exists before the window does.
    EXPECT_EQ(sizeOf(folder / "pelko.config"), 110u);
    RECT placed{};
    GetWindowRect(frame, &placed);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_EQ(screenWidth, 1920) << "run on the 1920 x 1080 display of the test command";
    ASSERT_EQ(screenHeight, 1080);
    EXPECT_EQ(placed.left, 1402);
    EXPECT_EQ(placed.top, 630);
    EXPECT_EQ(placed.right - placed.left, 418);
    EXPECT_EQ(placed.bottom - placed.top, 350);

    click(frame, L"Open file");
    HWND fileDialog = waitForDialog(*program, L"Select a file");
    ASSERT_NE(fileDialog, nullptr) << "no \"Select a file\" dialog";
    // The file-name edit sits inside a combo box inside a ComboBoxEx.
    HWND comboEx = guitest::findDescendant(fileDialog, L"ComboBoxEx32", 1148);
    HWND combo = comboEx ? guitest::findDescendant(comboEx, L"ComboBox", 1148) : nullptr;
    fillAndConfirm(fileDialog, combo ? guitest::findDescendant(combo, L"Edit", 1148) : nullptr, song);
    const std::string songOut = folder / "zz_song.wav";
    EXPECT_TRUE(guitest::waitUntil([&] { return isDoneLine(statusText(frame), songOut); }, 10s)) << statusText(frame);
    EXPECT_EQ(sizeOf(songOut), 44u + 5000u);

    click(frame, L"Open folder");
    HWND folderDialog = waitForDialog(*program, L"Select a dir");
    ASSERT_NE(folderDialog, nullptr) << "no \"Select a dir\" dialog";
    fillAndConfirm(folderDialog, GetDlgItem(folderDialog, 1152), folder / "album");
    const std::string albumOut = folder / "zz_album";
    EXPECT_TRUE(guitest::waitUntil([&] { return isDoneLine(statusText(frame), albumOut); }, 10s)) << statusText(frame);
    EXPECT_EQ(sizeOf(albumOut + "\\a.wav"), 44u + 300u);
    EXPECT_EQ(sizeOf(albumOut + "\\b.wav"), 44u + 700u);

    PostMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(program->waitForExit(15s), std::optional<DWORD>(0));
    EXPECT_EQ(sizeOf(folder / "pelko.config"), 110u);
}

TEST_F(ProgramTest, ConfigurationPathTakenByAFolderEndsWithTheErrorBoxAndStatusOne) {
    std::filesystem::create_directories(testsupport::pathOf(folder / "pelko.config"));
    auto program = start();
    HWND box = nullptr;
    guitest::waitUntil([&] { return (box = guitest::findTopLevel(program->id(), L"#32770")) != nullptr; }, 15s);
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(guitest::findTopLevel(program->id(), frameClass), nullptr) << "no window before the file exists";
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    EXPECT_EQ(runtime::narrow(text),
              "Error: unhandled exception: cannot open: " + (folder / "pelko.config") + " [IOError]\n");
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(program->waitForExit(15s), std::optional<DWORD>(1));
}

TEST_F(ProgramTest, ErrorInAnActionClosesTheWindowThenShowsTheErrorBoxAndEndsWithStatusOne) {
    const std::string song = folder / "song.mp3";
    testsupport::writeFile(song, {1, 2, 3});
    auto program = start();
    HWND frame = waitForFrame(*program);
    ASSERT_NE(frame, nullptr);
    // The configuration file held open without sharing, as another program
    // might: the action cannot read its settings.
    const std::string config = folder / "pelko.config";
    HANDLE locked = CreateFileW(runtime::widen(config).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);

    click(frame, L"Open file");
    HWND dialog = waitForDialog(*program, L"Select a file");
    ASSERT_NE(dialog, nullptr);
    HWND comboEx = guitest::findDescendant(dialog, L"ComboBoxEx32", 1148);
    HWND combo = comboEx ? guitest::findDescendant(comboEx, L"ComboBox", 1148) : nullptr;
    fillAndConfirm(dialog, combo ? guitest::findDescendant(combo, L"Edit", 1148) : nullptr, song);

    HWND box = nullptr;
    std::string shown;
    guitest::waitUntil(
        [&] {
            box = guitest::findTopLevel(program->id(), L"#32770");
            wchar_t text[1024] = {};
            if (box) GetDlgItemTextW(box, 0xFFFF, text, 1024);
            shown = runtime::narrow(text);
            return !shown.empty();
        },
        15s);
    CloseHandle(locked);
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(shown, "Error: unhandled exception: cannot open: " + config + " [IOError]\n");
    EXPECT_EQ(guitest::findTopLevel(program->id(), frameClass), nullptr) << "the window is gone behind the box";
    EXPECT_FALSE(testsupport::exists(folder / "zz_song.wav"));
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(program->waitForExit(15s), std::optional<DWORD>(1));
}

}  // namespace
