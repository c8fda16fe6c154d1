// quenmarl-cli as a user runs it: a copy of the program in a folder of its
// own (its configuration file lives beside it), converting real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "runtime/paths.h"
#include "tests/engine/conversion_fixture.h"
#include "tests/support/files.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"

namespace {

using testsupport::Bytes;
namespace fs = std::filesystem;

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path built = testsupport::pathOf(testsupport::hostPath(QUENMARL_CLI_PATH));
        program_ = folder_ / built.filename().string();
        fs::copy_file(built, testsupport::pathOf(program_));
    }

    testsupport::ProcessResult run(const std::vector<std::string>& arguments) const {
        return testsupport::runProcess(program_, arguments, folder_.text());
    }

    std::string path(const std::string& name) const { return folder_ / name; }
    std::string write(const std::string& name, const Bytes& bytes) const {
        testsupport::writeFile(path(name), bytes);
        return path(name);
    }

    static void expectDoneLine(const std::string& line, const std::string& output) {
        EXPECT_TRUE(std::regex_match(
            line, std::regex("Done! - " + std::regex_replace(output, std::regex(R"([\\^$.|?*+()\[\]{}])"), R"(\$&)") +
                             " - [0-2][0-9]:[0-5][0-9]:[0-5][0-9]")))
            << line;
    }

    static std::vector<std::string> lines(const std::string& text) {
        std::vector<std::string> result;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            result.push_back(text.substr(start, end - start));
            if (end == std::string::npos) break;
            start = end + 1;
        }
        return result;
    }

    testsupport::TempFolder folder_;
    std::string program_;
};

TEST_F(Cli, ConvertsAFileBesideItUnderItsZzName) {
    const Bytes input = testsupport::randomBytes(5000, 1);
    write("song.mp3", input);
    const auto result = run({path("song.mp3")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::string output = path("zz_song.wav");
    EXPECT_EQ(testsupport::readFile(output), engine::expectedWav(input, true, 44100, 8, 1));
    const auto printed = lines(result.out);
    ASSERT_EQ(printed.size(), 1u) << result.out;
    expectDoneLine(printed[0], output);
}

TEST_F(Cli, RelativeInputsAreNamedBesideThemselves) {
    write("a.bin", {1, 2, 3});
    const auto result = run({"a.bin"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(testsupport::exists(path("zz_a.wav")));
    expectDoneLine(lines(result.out).at(0), "zz_a.wav");
}

TEST_F(Cli, ConvertsAFolderIntoItsZzFolder) {
    fs::create_directories(testsupport::pathOf(path("album/cd2")));
    write("album/one.flac", {1, 2});
    write("album/cd2/two.flac", {3, 4});
    const auto result = run({path("album")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::string output = path("zz_album");
    EXPECT_TRUE(testsupport::exists(runtime::joinPath(output, "one.wav")));
    EXPECT_TRUE(testsupport::exists(runtime::joinPath(output, "two.wav")));
    const auto printed = lines(result.out);
    ASSERT_EQ(printed.size(), 2u) << result.out;
    EXPECT_EQ(printed[0], output + " did not exist and was created for you.");
    expectDoneLine(printed[1], output);
}

TEST_F(Cli, OptionsReachTheHeaderAndTheData) {
    const Bytes input = testsupport::randomBytes(3001, 2);
    write("in.bin", input);
    const auto result = run({"--bit-depth", "16", "--channels=2", "--sample-rate", "8000", "--no-dc-filter", "--output",
                             path("out.wav"), path("in.bin")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(testsupport::readFile(path("out.wav")), engine::expectedWav(input, false, 8000, 16, 2));
    const auto filtered = run({"--bit-depth", "24", "--output", path("f.wav"), path("in.bin")});
    EXPECT_EQ(testsupport::readFile(path("f.wav")), engine::expectedWav(input, true, 44100, 24, 1));
}

TEST_F(Cli, NumbersCarryTheirLowSixteenBitsWhereTheHeaderDoes) {
    write("in.bin", {1, 2, 3, 4});
    const auto result = run({"--channels", "65538", "--bit-depth", "-8", "--sample-rate", "-1", "--output",
                             path("out.wav"), path("in.bin")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(testsupport::readFile(path("out.wav")), engine::expectedWav({1, 2, 3, 4}, false, -1, 65528, 2));
}

TEST_F(Cli, RefusedInputsGiveStatusThreeAndTheOthersStillConvert) {
    write("good.bin", {1, 2, 3});
    write("empty.bin", {});
    const auto result = run({path("missing.bin"), path("good.bin"), path("empty.bin")});
    EXPECT_EQ(result.exitCode, 3);
    const auto printed = lines(result.out);
    ASSERT_EQ(printed.size(), 3u) << result.out;
    EXPECT_EQ(printed[0], "There was an error with your input or output arguments.");
    expectDoneLine(printed[1], path("zz_good.wav"));
    EXPECT_EQ(printed[2], "Input file is 0 bytes!");
    EXPECT_TRUE(testsupport::exists(path("zz_good.wav")));
}

TEST_F(Cli, SamePathIsRefused) {
    write("a.bin", {1});
    const auto result = run({"--output", path("a.bin"), path("a.bin")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.out, "You cannot set the same input and output file for safety reasons\n");
    EXPECT_EQ(testsupport::readFile(path("a.bin")), Bytes{1});
}

TEST_F(Cli, ErrorsEndTheRunWithStatusOneAndTheTypeName) {
    fs::create_directories(testsupport::pathOf(path("in")));
    write("in/a.bin", {1});
    write("blocker", {2});
    const std::string out = runtime::joinPath(path("blocker"), "out");
    const auto result = run({"--output", out, path("in")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Error: unhandled exception: Failed to create '" + path("blocker") + "' [IOError]\n");
}

TEST_F(Cli, UsageErrorsGiveStatusTwo) {
    write("a.bin", {1});
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {},
             {"--frobnicate", path("a.bin")},
             {"--bit-depth", "1.5", path("a.bin")},
             {"--bit-depth", "2147483648", path("a.bin")},
             {"--sample-rate"},
             {"--output", path("x.wav"), path("a.bin"), path("a.bin")},
             {"--no-dc-filter=yes", path("a.bin")},
         }) {
        const auto result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << (arguments.empty() ? "(none)" : arguments[0]);
        EXPECT_NE(result.err.find("usage: quenmarl-cli"), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_FALSE(testsupport::exists(path("zz_a.wav")));
}

TEST_F(Cli, HelpAndVersion) {
    const auto help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: quenmarl-cli [OPTIONS] INPUT...", 0), 0u);
    const auto version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "quenmarl-cli 20.07.30\nLicense: MIT\n");
}

TEST_F(Cli, DoubleDashEndsTheOptions) {
    write("--odd.bin", {5, 6});
    const auto result = run({"--", "--odd.bin"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(testsupport::exists(path("zz_--odd.wav")));
}

#ifndef _WIN32
// An outside reader of the files: sox's soxi must see the header's values.
TEST_F(Cli, SoxReadsTheHeader) {
    if (std::system("command -v soxi >/dev/null 2>&1") != 0) GTEST_SKIP() << "soxi is not installed";
    write("in.bin", testsupport::randomBytes(48000, 3));
    ASSERT_EQ(run({"--bit-depth", "16", "--channels", "2", "--sample-rate", "22050", path("in.bin")}).exitCode, 0);
    const auto soxi = [&](const std::string& flag) {
        return testsupport::runProcess("/usr/bin/soxi", {flag, path("zz_in.wav")}, folder_.text()).out;
    };
    EXPECT_EQ(soxi("-r"), "22050\n");
    EXPECT_EQ(soxi("-c"), "2\n");
    EXPECT_EQ(soxi("-b"), "16\n");
    EXPECT_EQ(soxi("-s"), "12000\n");
}
#endif

}  // namespace

namespace {

// The configuration file beside the program, as a user edits it.
class CliConfig : public Cli {
protected:
    std::string config() const { return path("pelko.config"); }
    std::string configText() const {
        const auto bytes = testsupport::readFile(config());
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST_F(CliConfig, FirstRunWritesTheDefaultFileBesideTheProgram) {
    write("a.bin", {1, 2});
    ASSERT_EQ(run({path("a.bin")}).exitCode, 0);
    EXPECT_EQ(configText(),
              "bit_depth=8\nnumber_of_channels=1\nsample_rate=44100\nmax_files_size_mb=5000\n"
              "max_file_size_mb=4096\ndc_filter=true");
    EXPECT_EQ(testsupport::readFile(path("zz_a.wav")), engine::expectedWav({1, 2}, true, 44100, 8, 1));
}

TEST_F(CliConfig, EditedKeysChangeTheNextConversion) {
    const Bytes input = testsupport::randomBytes(1001, 8);
    write("a.bin", input);
    testsupport::writeText(config(), "bit_depth=16\nnumber_of_channels=2\nsample_rate=8000\ndc_filter=false\n");
    ASSERT_EQ(run({path("a.bin")}).exitCode, 0);
    EXPECT_EQ(testsupport::readFile(path("zz_a.wav")), engine::expectedWav(input, false, 8000, 16, 2));
    // The user's file is kept as written.
    EXPECT_EQ(configText(), "bit_depth=16\nnumber_of_channels=2\nsample_rate=8000\ndc_filter=false\n");
}

TEST_F(CliConfig, OptionsOverrideTheFileForThisRunOnly) {
    write("a.bin", {1, 2, 3, 4});
    testsupport::writeText(config(), "bit_depth=16\nsample_rate_hz=22050\n");
    ASSERT_EQ(run({"--bit-depth", "8", "--output", path("o.wav"), path("a.bin")}).exitCode, 0);
    EXPECT_EQ(testsupport::readFile(path("o.wav")), engine::expectedWav({1, 2, 3, 4}, true, 22050, 8, 1));
    ASSERT_EQ(run({"--output", path("p.wav"), path("a.bin")}).exitCode, 0);
    EXPECT_EQ(testsupport::readFile(path("p.wav")), engine::expectedWav({1, 2, 3, 4}, true, 22050, 16, 1));
}

TEST_F(CliConfig, MalformedValuesKeepTheDefaults) {
    write("a.bin", {1, 2});
    testsupport::writeText(config(), "bit_depth=abc\nnumber_of_channels=\nsample_rate=1.5\n");
    ASSERT_EQ(run({path("a.bin")}).exitCode, 0);
    EXPECT_EQ(testsupport::readFile(path("zz_a.wav")), engine::expectedWav({1, 2}, true, 44100, 8, 1));
}

TEST_F(CliConfig, NumbersOnTheCommandLineAreReadLikeTheFilesNumbers) {
    write("a.bin", {1, 2});
    const auto underscores = run({"--sample-rate", "44_1_00", "--output", path("o.wav"), path("a.bin")});
    EXPECT_EQ(underscores.exitCode, 0) << underscores.err;
    EXPECT_EQ(testsupport::readFile(path("o.wav")), engine::expectedWav({1, 2}, true, 44100, 8, 1));
    const auto bad = run({"--bit-depth", "0x10", path("a.bin")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.err.rfind("quenmarl-cli: --bit-depth: invalid integer: 0x10\n", 0), 0u) << bad.err;
    const auto big = run({"--channels", "2147483648", path("a.bin")});
    EXPECT_EQ(big.exitCode, 2);
    EXPECT_EQ(big.err.rfind("quenmarl-cli: --channels: Parsed integer outside of valid range\n", 0), 0u) << big.err;
}

TEST_F(CliConfig, AFolderInTheConfigFilesPlaceIsAnIOError) {
    write("a.bin", {1, 2});
    std::filesystem::create_directory(testsupport::pathOf(config()));
    const auto result = run({path("a.bin")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Error: unhandled exception: cannot open: " + config() + " [IOError]\n");
    EXPECT_FALSE(testsupport::exists(path("zz_a.wav")));
}

}  // namespace
