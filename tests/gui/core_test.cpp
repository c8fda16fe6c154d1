// The window's plain parts: its texts and rich text, where the frame goes,
// one conversion with its status message, and the error report's text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/gui/captions.h"
#include "app/gui/convert_input.h"
#include "app/gui/error_report.h"
#include "app/gui/frame_placement.h"
#include "app/output_naming.h"
#include "runtime/errors.h"
#include "runtime/paths.h"
#include "tests/engine/conversion_fixture.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

using testsupport::Bytes;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        out.push_back(text.substr(start, end - start));
    if (start < text.size()) out.push_back(text.substr(start));  // an unterminated last line
    return out;
}

TEST(HelpTextTest, IsSevenLinesEachEndedByALineFeed) {
    const std::string text = app::helpText();
    EXPECT_EQ(text.find('\r'), std::string::npos);
    ASSERT_EQ(text.back(), '\n');
    const std::vector<std::string> all = lines(text);
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(all[0], "  1. Drag and drop a folder or file here, or click the **Open Folder** or **Open File** button");
    EXPECT_EQ(all[1], "");
    EXPECT_EQ(all[2], "  2. The output will be saved starting with **zz_**");
    EXPECT_EQ(all[3], "");
    EXPECT_EQ(all[4], "  You can adjust the output settings in the configuration file next to the executable");
    EXPECT_EQ(all[5], "");
    EXPECT_EQ(all[6].rfind("  <https://quenmarl.example.org/> ", 0), 0u) << all[6];
    EXPECT_NE(all[6].find("Quenmarl authors"), std::string::npos);
}

TEST(HelpTextRtfTest, DoubleAsterisksBecomeBoldAndLinesParagraphs) {
    const std::string rtf = app::helpTextRtf(app::helpText(), "Tahoma", 12.0);
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(rtf.back(), '}');
    EXPECT_EQ(rtf.find("**"), std::string::npos);
    EXPECT_NE(rtf.find("click the \\b Open Folder\\b0  or \\b Open File\\b0  button"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("starting with \\b zz_\\b0 \\par"), std::string::npos) << rtf;
    std::size_t paragraphs = 0;
    for (std::size_t at = 0; (at = rtf.find("\\par\n", at)) != std::string::npos; ++at) ++paragraphs;
    EXPECT_EQ(paragraphs, 7u);
}

TEST(HelpTextRtfTest, NamesTheFaceAndTheSizeInHalfPoints) {
    const std::string rtf = app::helpTextRtf("x\n", "Segoe UI", 12.0);
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fswiss\\fcharset0 Segoe UI;}}\\f0\\fs24 "), std::string::npos) << rtf;
    EXPECT_NE(app::helpTextRtf("x", "A", 9.5).find("\\fs19 "), std::string::npos);
}

TEST(HelpTextRtfTest, EscapesSpecialAndNonAsciiCharacters) {
    const std::string rtf = app::helpTextRtf("{a}\\b r\u00e9sum\u00e9 \xf0\x9f\x8e\xb5", "F", 12.0);
    EXPECT_NE(rtf.find("\\{a\\}\\\\b r\\u233?sum\\u233? \\u-10180?\\u-8267?"), std::string::npos) << rtf;
}

TEST(HelpTextRtfTest, LoneAsteriskStaysAndUnclosedBoldIsClosed) {
    EXPECT_NE(app::helpTextRtf("a * b", "F", 12.0).find(" a * b}"), std::string::npos);
    const std::string rtf = app::helpTextRtf("**bold", "F", 12.0);
    EXPECT_NE(rtf.find("\\b bold\\b0 }"), std::string::npos) << rtf;
}

TEST(FramePlacementTest, RightAndBottomEdges100PixelsInsideTheScreen) {
    EXPECT_EQ(app::mainFramePosition({1920, 1080}, {418, 350}), (toolkit::wPoint{1402, 630}));
    EXPECT_EQ(app::mainFramePosition({1024, 768}, {418, 350}), (toolkit::wPoint{506, 318}));
}

TEST(FramePlacementTest, CentredWhenTheCornerWouldBeWithin100PixelsOfTheEdge) {
    EXPECT_EQ(app::mainFramePosition({600, 1080}, {418, 350}), std::nullopt);  // x = 82
    EXPECT_EQ(app::mainFramePosition({618, 1080}, {418, 350}), std::nullopt);  // x = 100
    EXPECT_EQ(app::mainFramePosition({619, 1080}, {418, 350}), (toolkit::wPoint{101, 630}));
    EXPECT_EQ(app::mainFramePosition({1920, 550}, {418, 350}), std::nullopt);  // y = 100
    EXPECT_EQ(app::mainFramePosition({0, 0}, {418, 350}), std::nullopt);
}

TEST(ErrorReportTest, MessageTypeNameAndALineBreak) {
    EXPECT_EQ(app::unhandledErrorReport(runtime::IOError("cannot open: C:\\q\\pelko.config")),
              "Error: unhandled exception: cannot open: C:\\q\\pelko.config [IOError]\n");
}

class ConvertInputTest : public ::testing::Test {
protected:
    testsupport::TempFolder folder;
    app::SettingsTable settings;
    app::ConfigFolder configFolder = folder.text();

    std::string write(const std::string& name, const Bytes& bytes) {
        const std::string path = folder / name;
        testsupport::writeFile(path, bytes);
        return path;
    }
    void writeConfig(const std::string& text) { testsupport::writeText(folder / "pelko.config", text); }
};

TEST_F(ConvertInputTest, FileBecomesItsWavAndTheMessageNamesTheOutput) {
    const Bytes input = testsupport::randomBytes(1000, 7);
    const std::string path = write("song.mp3", input);
    const std::string output = app::outputPathForFile(path);
    EXPECT_EQ(app::convertInput(path, output, settings, configFolder), "Done! - " + output);
    EXPECT_EQ(testsupport::readFile(output), engine::expectedWav(input, true, 44100, 8, 1));
}

TEST_F(ConvertInputTest, SettingsAreReadFromTheFileBeforeEveryConversion) {
    const Bytes input = testsupport::randomBytes(600, 3);
    const std::string path = write("a.bin", input);
    const std::string output = folder / "zz_a.wav";
    writeConfig("bit_depth=16\nnumber_of_channels=2\nsample_rate_hz=8000\ndc_filter=false\n");
    app::convertInput(path, output, settings, configFolder);
    EXPECT_EQ(testsupport::readFile(output), engine::expectedWav(input, false, 8000, 16, 2));
    writeConfig("bit_depth=8\nnumber_of_channels=1\nsample_rate_hz=44100\ndc_filter=true\n");
    app::convertInput(path, output, settings, configFolder);
    EXPECT_EQ(testsupport::readFile(output), engine::expectedWav(input, true, 44100, 8, 1));
}

TEST_F(ConvertInputTest, RefusalsBecomeTheMessageInsteadOfEndingTheProgram) {
    const std::string empty = write("empty.bin", {});
    EXPECT_EQ(app::convertInput(empty, folder / "zz_empty.wav", settings, configFolder),
              "Input file is 0 bytes! - " + empty);
    EXPECT_FALSE(testsupport::exists(folder / "zz_empty.wav"));

    const std::string missing = folder / "missing.bin";
    EXPECT_EQ(app::convertInput(missing, folder / "zz_missing.wav", settings, configFolder),
              "There was an error with your input or output arguments. - " + missing);

    const std::string same = write("same.wav", {1, 2, 3});
    EXPECT_EQ(app::convertInput(same, same, settings, configFolder),
              "You cannot set the same input and output file for safety reasons - " + same);
    EXPECT_EQ(testsupport::readFile(same), (Bytes{1, 2, 3}));

    // So does a failure, for a file or for files of a folder.
    const std::string nowhere = runtime::joinPath(folder / "none", "x.wav");
    EXPECT_EQ(app::convertInput(same, nowhere, settings, configFolder),
              "ERROR: Could not create " + nowhere + ": errno: 2 `No such file or directory` - " + same);
    std::filesystem::create_directories(testsupport::pathOf(folder / "in"));
    write("in/x.bin", {1});
    write("in/y.bin", {2});
    const std::string blocked = runtime::joinPath(folder / "out", "y.wav");
    std::filesystem::create_directories(testsupport::pathOf(blocked));
    // The reason is the system's: another on each platform.
    EXPECT_THAT(app::convertInput(folder / "in", folder / "out", settings, configFolder),
                ::testing::AllOf(::testing::StartsWith("ERROR: 1 file was not converted; the first: Could not create " +
                                                       blocked + ": errno: "),
                                 ::testing::EndsWith(" - " + folder / "in")));
    EXPECT_TRUE(testsupport::exists(runtime::joinPath(folder / "out", "x.wav")));
}

TEST_F(ConvertInputTest, AnOutputFolderThatCannotBeMadeEndsOnlyThisItem) {
    std::filesystem::create_directories(testsupport::pathOf(folder / "in"));
    write("in/x.bin", {1, 2, 3});
    const std::string blocker = write("blocker", {9});
    EXPECT_EQ(app::convertInput(folder / "in", runtime::joinPath(blocker, "sub"), settings, configFolder),
              "ERROR: Could not create " + blocker + ": errno: 17 `File exists` - " + folder / "in");
}

TEST_F(ConvertInputTest, DroppedPathsAreNamedByWhatTheyAre) {
    const std::string file = write("clip.wav", {1});
    const std::string album = folder / "album";
    std::filesystem::create_directories(testsupport::pathOf(album));
    EXPECT_EQ(app::outputPathBeside(file), folder / "zz_clip.wav");
    EXPECT_EQ(app::outputPathBeside(album), folder / "zz_album");
    EXPECT_EQ(app::outputPathBeside(runtime::joinPath(album, ".")), folder / "zz_album");
    // The root has no name to give its output.
#ifdef _WIN32
    const std::string root = folder.text().substr(0, 3);
#else
    const std::string root = "/";
#endif
    EXPECT_EQ(app::convertInput(root, app::outputPathForFolder, settings, configFolder),
              "There was an error with your input or output arguments. - " + root);
}

TEST(StatusLineTest, BlankMessageSeparatorAndTime) {
    EXPECT_EQ(app::statusLine("Done! - C:\\music\\zz_song.wav", "14:03:07"),
              " Done! - C:\\music\\zz_song.wav - 14:03:07");
}

}  // namespace
