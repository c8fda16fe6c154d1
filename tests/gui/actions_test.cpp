// The window's actions in the test process: drops through the drop target
// that the help text box registered, refusals that leave the rest of a drop
// going, and errors that end the program.
#include "app/gui/actions.h"

#include <filesystem>
#include <regex>

#include "tests/gui/window_support.h"
#include "tests/support/drop_data_win32.h"

using guitest::MainWindowTest;
using testsupport::DropData;

namespace {

// " <message> - HH:MM:SS"
::testing::AssertionResult isStatusLine(const std::string& text, const std::string& message) {
    static const std::regex time(" - [0-2][0-9]:[0-5][0-9]:[0-5][0-9]$");
    const std::string prefix = " " + message;
    if (text.rfind(prefix, 0) == 0 && text.size() == prefix.size() + 11 && std::regex_search(text, time))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "status \"" << text << "\" is not \"" << prefix << " - HH:MM:SS\"";
}

std::filesystem::file_time_type modified(const std::string& path) {
    return std::filesystem::last_write_time(testsupport::pathOf(path));
}

class WindowDropTest : public MainWindowTest {
protected:
    std::vector<DWORD> drop(const std::vector<std::string>& paths) {
        DropData* data = DropData::files(paths);
        std::vector<DWORD> effects = testsupport::dragAndDrop(window->helpText->handle(), data);
        data->Release();
        return effects;
    }
};

TEST_F(WindowDropTest, TwoFilesAndAFolderAreConvertedInDropOrder) {
    const std::string first = write("first.mp3", testsupport::randomBytes(3000, 1));
    const std::string second = write(".profile", testsupport::randomBytes(500, 2));
    const std::string album = makeFolder("album");
    write("album/track.bin", testsupport::randomBytes(700, 3));

    EXPECT_EQ(drop({first, second, album}), (std::vector<DWORD>{DROPEFFECT_COPY, DROPEFFECT_COPY, DROPEFFECT_COPY}));

    const std::string outFirst = folder / "zz_first.wav";
    const std::string outSecond = folder / "zz_profile.wav";
    const std::string outAlbum = folder / "zz_album";
    EXPECT_EQ(testsupport::readFile(outFirst).size(), 44u + 3000u);
    EXPECT_EQ(testsupport::readFile(outSecond).size(), 44u + 500u);
    EXPECT_EQ(testsupport::readFile(outAlbum + "\\track.wav").size(), 44u + 700u);
    ASSERT_EQ(statusTexts.size(), 3u);
    EXPECT_TRUE(isStatusLine(statusTexts[0], "Done! - " + outFirst));
    EXPECT_TRUE(isStatusLine(statusTexts[1], "Done! - " + outSecond));
    EXPECT_TRUE(isStatusLine(statusTexts[2], "Done! - " + outAlbum));
    EXPECT_TRUE(isStatusLine(statusText(), "Done! - " + outAlbum)) << "the status line names the last";
    EXPECT_LE(modified(outFirst), modified(outSecond));
    EXPECT_LE(modified(outSecond), modified(outAlbum + "\\track.wav"));
}

TEST_F(WindowDropTest, EmptyFileInTheMiddleIsRefusedAndTheItemsAfterItStillConvert) {
    const std::string before = write("before.bin", testsupport::randomBytes(100, 4));
    const std::string empty = write("empty.bin", {});
    const std::string after = write("after.bin", testsupport::randomBytes(200, 5));

    drop({before, empty, after});

    EXPECT_TRUE(testsupport::exists(folder / "zz_before.wav"));
    EXPECT_FALSE(testsupport::exists(folder / "zz_empty.wav"));
    EXPECT_EQ(testsupport::readFile(folder / "zz_after.wav").size(), 44u + 200u);
    ASSERT_EQ(statusTexts.size(), 3u);
    EXPECT_TRUE(isStatusLine(statusTexts[1], "Input file is 0 bytes! - " + empty));
    EXPECT_TRUE(isStatusLine(statusText(), "Done! - " + (folder / "zz_after.wav")));
    EXPECT_FALSE(window->app->dispatcher().hasPendingError()) << "a refusal does not end the program";
}

TEST_F(WindowDropTest, RefusalOfTheLastItemStaysInTheStatusLine) {
    const std::string empty = write("empty.bin", {});
    drop({empty});
    EXPECT_TRUE(isStatusLine(statusText(), "Input file is 0 bytes! - " + empty));
}

TEST_F(WindowDropTest, PathsThatNameNothingAreSkipped) {
    const std::string real = write("real.bin", {1, 2, 3});
    drop({folder / "gone.bin", real, folder / "gone-folder"});
    EXPECT_TRUE(testsupport::exists(folder / "zz_real.wav"));
    ASSERT_EQ(statusTexts.size(), 1u);
    EXPECT_TRUE(isStatusLine(statusTexts[0], "Done! - " + (folder / "zz_real.wav")));
}

TEST_F(WindowDropTest, DroppedTextShowsTheCopyEffectButConvertsNothing) {
    window->statusBar->setStatusText("before");
    statusTexts.clear();
    DropData* data = DropData::text(L"some selected text");
    EXPECT_EQ(testsupport::dragAndDrop(window->helpText->handle(), data).front(), DWORD(DROPEFFECT_COPY));
    data->Release();
    EXPECT_TRUE(statusTexts.empty());
    EXPECT_EQ(statusText(), "before");
}

TEST_F(WindowDropTest, SettingsFileIsReadBeforeEveryItem) {
    // The first item is converted with 16 bits; the configuration changes
    // only when the second starts, so each output shows its own read.
    testsupport::writeText(folder / "pelko.config", "bit_depth=16\n");
    const std::string a = write("a.bin", testsupport::randomBytes(64, 6));
    drop({a});
    const testsupport::Bytes wav = testsupport::readFile(folder / "zz_a.wav");
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(wav[34], 16) << "bits per sample";
    testsupport::writeText(folder / "pelko.config", "bit_depth=8\n");
    drop({a});
    EXPECT_EQ(testsupport::readFile(folder / "zz_a.wav")[34], 8);
}

TEST_F(WindowDropTest, ConfigurationThatCannotBeOpenedEndsTheProgram) {
    const std::string config = folder / "pelko.config";
    testsupport::writeText(config, "bit_depth=8\n");
    // Held open without sharing, as another program might.
    HANDLE locked = CreateFileW(runtime::widen(config).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    const std::string a = write("a.bin", {1, 2, 3});
    drop({a});
    CloseHandle(locked);
    EXPECT_FALSE(testsupport::exists(folder / "zz_a.wav"));
    EXPECT_TRUE(statusTexts.empty());
    EXPECT_THROW(window->app->dispatcher().rethrowPendingError(), runtime::IOError);
}

}  // namespace
