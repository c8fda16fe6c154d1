// quenmarl-cli as a user runs it: a copy of the program in a folder of its
// own (its configuration file lives beside it), converting real files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#ifndef _WIN32
#include <sys/stat.h>
#endif

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
    EXPECT_EQ(printed[0], "There was an error with your input or output arguments. - " + path("missing.bin"));
    expectDoneLine(printed[1], path("zz_good.wav"));
    EXPECT_EQ(printed[2], "Input file is 0 bytes! - " + path("empty.bin"));
    EXPECT_TRUE(testsupport::exists(path("zz_good.wav")));
}

TEST_F(Cli, SamePathIsRefused) {
    write("a.bin", {1});
    const auto result = run({"--output", path("a.bin"), path("a.bin")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.out, "You cannot set the same input and output file for safety reasons - " + path("a.bin") + "\n");
    EXPECT_EQ(testsupport::readFile(path("a.bin")), Bytes{1});
}

TEST_F(Cli, InputsNotConvertedGiveStatusThreeAndNoDoneLine) {
    write("a.bin", {1, 2});
    const std::string missingFolder = runtime::joinPath(path("missing"), "x.wav");
    const auto single = run({"--output", missingFolder, path("a.bin")});
    EXPECT_EQ(single.exitCode, 3);
    EXPECT_EQ(single.out, "ERROR: Could not create " + missingFolder + ": errno: 2 `No such file or directory` - " +
                              path("a.bin") + "\n");
    // A folder whose one output is blocked converts the rest and says so.
    fs::create_directories(testsupport::pathOf(path("in")));
    write("in/a.bin", {1});
    write("in/b.bin", {2});
    fs::create_directories(testsupport::pathOf(path("zz_in/b.wav")));
    const auto batch = run({path("in")});
    EXPECT_EQ(batch.exitCode, 3);
    const std::string blocked = runtime::joinPath(path("zz_in"), "b.wav");
#ifdef _WIN32
    const std::string isAFolder = ": errno: 13 `Permission denied` - " + path("in");
#else
    const std::string isAFolder = ": errno: 21 `Is a directory` - " + path("in");
#endif
    EXPECT_EQ(lines(batch.out),
              (std::vector<std::string>{
                  "ERROR: Could not create " + blocked + isAFolder,
                  "ERROR: 1 file was not converted; the first: Could not create " + blocked + isAFolder}));
    EXPECT_TRUE(testsupport::exists(runtime::joinPath(path("zz_in"), "a.wav")));
}

TEST_F(Cli, AnOutputFolderThatCannotBeMadeEndsOnlyItsInput) {
    // "zz_" makes the folder's name longer than a name may be.
    const std::string name(253, 'd');
    fs::create_directories(testsupport::pathOf(path(name)));
    write(name + "/a.bin", {1});
    write("other.bin", {2});
    const auto result = run({path(name), path("other.bin")});
    EXPECT_EQ(result.exitCode, 3);
    const auto printed = lines(result.out);
    ASSERT_EQ(printed.size(), 2u) << result.out;
    EXPECT_EQ(printed[0].rfind("ERROR: Could not create " + path("zz_" + name) + ": errno: ", 0), 0u) << printed[0];
    const std::string aboutInput = " - " + path(name);
    EXPECT_EQ(printed[0].substr(printed[0].size() - aboutInput.size()), aboutInput);
    expectDoneLine(printed[1], path("zz_other.wav"));
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

TEST_F(Cli, DoubleDashEndsTheOptionsAndShortOnesWork) {
    write("--odd.bin", {5, 6});
    write("-x", {7});
    const auto result = run({"-q", "--", "--odd.bin", "-x"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");  // quiet
    EXPECT_TRUE(testsupport::exists(path("zz_--odd.wav")));
    EXPECT_TRUE(testsupport::exists(path("zz_-x.wav")));
    const auto shortOutput = run({"-o", path("o.wav"), path("-x")});
    EXPECT_EQ(shortOutput.exitCode, 0) << shortOutput.err;
    EXPECT_EQ(testsupport::readFile(path("o.wav")), engine::expectedWav({7}, true, 44100, 8, 1));
    EXPECT_EQ(run({"-V"}).out, run({"--version"}).out);
    EXPECT_EQ(run({"-h"}).out, run({"--help"}).out);
}

TEST_F(Cli, DevicesAndLinksGivenAsTheOutputAreFollowedAndLinksPlantedAtItsNamesReplaced) {
    const Bytes input = testsupport::randomBytes(1000, 9);
    write("ap.bin", input);
    fs::create_directories(testsupport::pathOf(path("real")));
    write("real/target.wav", {1});
    write("elsewhere.bin", {7});
    // A device given is written in place.
#ifdef _WIN32
    EXPECT_EQ(run({"-q", "-o", "NUL", "ap.bin"}).exitCode, 0);
#else
    EXPECT_EQ(run({"-q", "-o", "/dev/null", "ap.bin"}).exitCode, 0);
#endif
    if (!testsupport::makeSymbolicLink(runtime::joinPath("real", "target.wav"), path("o.wav")) ||
        !testsupport::makeSymbolicLink("o.wav", path("o2.wav")) ||
        !testsupport::makeSymbolicLink("nowhere.wav", path("dangling.wav")) ||
        !testsupport::makeSymbolicLink("elsewhere.bin", path("zz_ap.wav"))) {
        GTEST_SKIP() << "no symbolic links here";
    }
    // A chain of links given: where it ends is replaced, the links stay;
    // one that leads nowhere is refused.
    EXPECT_EQ(run({"-q", "-o", "o2.wav", "ap.bin"}).exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(testsupport::pathOf(path("o2.wav"))) &&
                fs::is_symlink(testsupport::pathOf(path("o.wav"))));
    EXPECT_EQ(testsupport::readFile(path("real/target.wav")), engine::expectedWav(input, true, 44100, 8, 1));
    EXPECT_EQ(run({"-o", "dangling.wav", "ap.bin"}).out,
              "ERROR: Could not create dangling.wav: not writing through a dangling link - ap.bin\n");
    // A link planted at a name the program makes is replaced, not followed.
    EXPECT_EQ(run({"ap.bin"}).exitCode, 0);
    EXPECT_FALSE(fs::is_symlink(testsupport::pathOf(path("zz_ap.wav"))));
    EXPECT_EQ(testsupport::readFile(path("elsewhere.bin")), Bytes{7});
    EXPECT_EQ(testsupport::readFile(path("ap.bin")), input);
}

TEST_F(Cli, TheWayBackGivesTheBytesAnUnfilteredWavWasMadeFrom) {
    // Sizes around a sample and a chunk, at every depth and a few layouts.
    for (std::size_t size : {std::size_t{1}, std::size_t{3}, std::size_t{1001}, (std::size_t{8} << 20) + 3}) {
        const Bytes input = testsupport::randomBytes(size, static_cast<std::uint32_t>(size));
        write("f.bin", input);
        for (const char* bits : {"8", "16", "24", "32"}) {
            ASSERT_EQ(
                run({"-q", "--no-dc-filter", "--bit-depth", bits, "--channels", "3", "-o", "x.wav", "f.bin"}).exitCode,
                0);
            ASSERT_EQ(run({"-q", "--to-bytes", "-o", "g.raw", "x.wav"}).exitCode, 0);
            ASSERT_TRUE(testsupport::readFile(path("g.raw")) == input) << size << " bytes, " << bits << " bits";
        }
    }
    // Beside the WAV, never replacing a file: the original may lie there.
    const auto beside = run({"--to-bytes", "x.wav"});
    EXPECT_EQ(beside.exitCode, 0) << beside.out;
    const auto again = run({"--to-bytes", "x.wav"});
    EXPECT_EQ(again.exitCode, 3);
    EXPECT_EQ(again.out,
              "ERROR: Could not create " + runtime::joinPath("", "x.raw") + ": errno: 17 `File exists` - x.wav\n");
    EXPECT_EQ(run({"--to-bytes", "--bit-depth", "8", "x.wav"}).exitCode, 2);
}

TEST_F(Cli, TheWayBackSaysWhatIsWrongWithAFileAndTakesAFoldersWavFiles) {
    write("in.bin", testsupport::randomBytes(1000, 2));
    ASSERT_EQ(run({"-q", "--no-dc-filter", "-o", "whole.wav", "in.bin"}).exitCode, 0);
    const Bytes wav = testsupport::readFile(path("whole.wav"));
    write("cut.wav", Bytes(wav.begin(), wav.begin() + 144));
    const auto cut = run({"--to-bytes", "-o", "cut.raw", "cut.wav"});
    EXPECT_EQ(cut.exitCode, 3);
    EXPECT_EQ(cut.out, "ERROR: 900 bytes of the data chunk are missing; the 100 there were written - cut.wav\n");
    EXPECT_EQ(testsupport::readFile(path("cut.raw")), Bytes(wav.begin() + 44, wav.begin() + 144));
    EXPECT_EQ(run({"--to-bytes", "in.bin"}).out, "ERROR: Not a WAV file to take back: not a RIFF/WAVE file - in.bin\n");
    fs::create_directories(testsupport::pathOf(path("album/sub")));
    write("album/sub/song.wav", wav);
    write("album/notes.txt", {1, 2});
    const auto folder = run({"--to-bytes", "album"});
    EXPECT_EQ(folder.exitCode, 0) << folder.out;
    EXPECT_EQ(folder.err, "album: 1 file left out: 1 not WAV\n");
    EXPECT_EQ(testsupport::readFile(path("album/sub/song.raw")), testsupport::readFile(path("in.bin")));
}

#ifdef _WIN32
TEST_F(Cli, StandardOutputOntoAFullDiskIsAFailure) {
    const char* tiny = std::getenv("QUENMARL_TINY_DISK");
    if (!tiny) GTEST_SKIP() << "no small disk to fill (scripts/test mounts one as root)";
    const std::string disk = testsupport::hostPath(tiny);
    write("s.bin", testsupport::randomBytes(30'000, 3));
    testsupport::writeFile(runtime::joinPath(disk, "filler"), Bytes(40'000, 0));
    const std::string full = runtime::joinPath(disk, "pipe.wav");
    const auto result = testsupport::runProcess(program_, {"-o", "-", "s.bin"}, folder_.text(), full);
    fs::remove(testsupport::pathOf(runtime::joinPath(disk, "filler")));
    fs::remove(testsupport::pathOf(full));
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "ERROR: Could not write standard output: errno: 28 `No space left on device` - s.bin\n");
}

TEST_F(Cli, DevicePrefixedPathsAreConvertedAndNamedBesideThemselves) {
    fs::create_directories(testsupport::pathOf(path("d d2 d")));
    write("d d2 d/a.bin", {1, 2, 3});
    write("b.bin", {4, 5});
    const auto result = run({"\\\\?\\" + path("d d2 d") + "\\a.bin", "\\\\.\\" + path("b.bin")});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(testsupport::readFile(path("d d2 d/zz_a.wav")), engine::expectedWav({1, 2, 3}, true, 44100, 8, 1));
    EXPECT_EQ(testsupport::readFile(path("zz_b.wav")), engine::expectedWav({4, 5}, true, 44100, 8, 1));
    expectDoneLine(lines(result.out).at(1), "\\\\.\\" + path("zz_b.wav"));
    // A folder converted into itself is refused whatever the spelling, and
    // under the long form it is converted beside itself.
    fs::create_directories(testsupport::pathOf(path("D D")));
    for (const char* prefix : {"\\\\.\\", "\\\\?\\"}) {
        const auto into = run({"-o", prefix + path("D D"), path("D D")});
        EXPECT_EQ(into.exitCode, 3) << prefix;
        EXPECT_EQ(into.out, "You cannot set the same input and output file for safety reasons - " + path("D D") + "\n");
    }
    EXPECT_EQ(run({"-q", "\\\\?\\" + path("d d2 d")}).exitCode, 0);
    EXPECT_TRUE(testsupport::exists(path("zz_d d2 d/a.wav")));
}
#else
// Runs a shell command line in the test's folder, with $cli the program.
testsupport::ProcessResult shell(const std::string& folder, const std::string& program, const std::string& script) {
    return testsupport::runProcess("/bin/sh", {"-c", "export cli='" + program + "'; " + script}, folder);
}

TEST_F(Cli, AWriteThatFailsKeepsTheEarlierOutput) {
    // The file-size limit makes the write fail half way, as a full disk would.
    write("big.bin", testsupport::randomBytes(3 << 20, 4));
    write("zz_big.wav", {9, 9});
    const auto result = shell(folder_.text(), program_, "trap '' XFSZ; ulimit -f 1024; exec \"$cli\" big.bin");
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.out, "ERROR: Could not write zz_big.wav: errno: 27 `File too large` - big.bin\n");
    EXPECT_EQ(testsupport::readFile(path("zz_big.wav")), Bytes({9, 9}));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.path()), fs::directory_iterator()), 4);
}

TEST_F(Cli, AStoppedRunLeavesNoPartialOutput) {
    // Stopped a fifth of a second into a conversion of 2 GiB, long before
    // its end.
    const auto result = shell(folder_.text(), program_,
                              "truncate -s 2G big.bin && \"$cli\" --no-dc-filter big.bin & pid=$!; "
                              "sleep 0.2; kill -TERM $pid; wait $pid; echo $?");
    EXPECT_EQ(result.out, "143\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.path()), fs::directory_iterator()), 3)
        << "only the program, its settings and the input";
    EXPECT_FALSE(testsupport::exists(path("zz_big.wav")));
}

TEST_F(Cli, StandardStreamsCarryTheAudioAndTheLinesGoToStandardError) {
    write("photo.jpg", testsupport::randomBytes(50'000, 5));
    ASSERT_EQ(run({"-q", "-o", path("file.wav"), path("photo.jpg")}).exitCode, 0);
    // Written to standard output, read by sox from a pipe, and the same
    // bytes as the file; the Done line goes to standard error.
    const auto piped =
        shell(folder_.text(), program_,
              "\"$cli\" -o - photo.jpg 2>err.txt | tee piped.wav | sox -t wav - -n stat 2>&1 | grep 'Samples read'");
    EXPECT_EQ(piped.out, "Samples read:             50000\n");
    EXPECT_EQ(testsupport::readFile(path("piped.wav")), testsupport::readFile(path("file.wav")));
    const auto err = testsupport::readFile(path("err.txt"));
    expectDoneLine(std::string(err.begin(), err.end() - 1), "standard output");
    // Standard input from a pipe, read whole before the header is written.
    const auto fromPipe = shell(folder_.text(), program_, "cat photo.jpg | \"$cli\" -o stdin.wav -");
    EXPECT_EQ(fromPipe.exitCode, 0) << fromPipe.err;
    EXPECT_EQ(testsupport::readFile(path("stdin.wav")), testsupport::readFile(path("file.wav")));
    EXPECT_EQ(shell(folder_.text(), program_, "\"$cli\" -o empty.wav - </dev/null").out,
              "Input file is 0 bytes! - -\n");
}

TEST_F(Cli, ProgressShowsOnlyOnATerminalWhenARunTakesAWhile) {
    // The reader of standard output holds the run up for more than a second.
    write("big.bin", Bytes(16 << 20, 6));
    const std::string slowReader = " -o - big.bin | (sleep 1.2; cat >/dev/null)";
    const auto terminal = shell(folder_.text(), program_, "script -qec '\"$cli\"" + slowReader + "' /dev/null");
    EXPECT_NE(terminal.out.find(" MiB of 16.0 MiB, "), std::string::npos) << terminal.out;
    EXPECT_NE(terminal.out.find("Done! - standard output"), std::string::npos) << terminal.out;
    const auto quiet = shell(folder_.text(), program_, "script -qec '\"$cli\" -q" + slowReader + "' /dev/null");
    EXPECT_EQ(quiet.out, "");
    const auto pipe = shell(folder_.text(), program_, "\"$cli\"" + slowReader);
    EXPECT_EQ(pipe.err.find('%'), std::string::npos) << pipe.err;
    expectDoneLine(pipe.err.substr(0, pipe.err.size() - 1), "standard output");
}

TEST_F(Cli, NeitherStandardInputNorStandardOutputByNameDestroysAFile) {
    const Bytes input = testsupport::randomBytes(1000, 9);
    write("ap.bin", input);
    // Standard input that is the output itself.
    const auto same = shell(folder_.text(), program_, "\"$cli\" - -o ap.bin <ap.bin");
    EXPECT_EQ(same.exitCode, 3);
    EXPECT_EQ(same.out, "You cannot set the same input and output file for safety reasons - -\n");
    // Standard output by its name is written in place, the lines elsewhere.
    const auto named = shell(folder_.text(), program_, "\"$cli\" -o /dev/stdout ap.bin >so.wav 2>err.txt");
    EXPECT_EQ(named.exitCode, 0);
    EXPECT_EQ(testsupport::readFile(path("so.wav")), engine::expectedWav(input, true, 44100, 8, 1));
    EXPECT_TRUE(fs::is_symlink("/dev/stdout"));
}

TEST_F(Cli, PipesAndDevicesNeverBlockARun) {
    write("a.bin", {1, 2});
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    const auto input = run({"fifo"});
    EXPECT_EQ(input.exitCode, 3);
    EXPECT_EQ(input.out, "ERROR: Input is not a regular file - fifo\n");
    for (const std::string config : {"fifo", "/dev/zero"}) {
        const auto result = run({"-q", "--config", config, "a.bin"});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.err,
                  "quenmarl-cli: not a regular file: " + config + "; converting with the default settings\n");
    }
}

TEST_F(Cli, StopsLeaveNoTemporaryFileWhereFilesCannotBeMadeWithoutAName) {
    // Every output then has a temporary name until it is complete.
    // Small files, and a large one that keeps the run going for a while.
    fs::create_directories(testsupport::pathOf(path("in")));
    for (int i = 0; i < 400; ++i) write("in/f" + std::to_string(i), testsupport::randomBytes(3000, i));
    write("in/large", {});
    fs::resize_file(testsupport::pathOf(path("in/large")), std::uintmax_t{1} << 30);
    const std::string without = "\"" + std::string(QUENMARL_WITHOUT_TMPFILE) + "\" \"$cli\"";
    // A background job starts with SIGINT and SIGQUIT ignored until the
    // program blocks them; a slow start (under a sanitizer) must not get
    // the signal before then. Its output folder, one for each signal, tells
    // that it has begun.
    const std::string begun = "for i in $(seq 1000); do [ -d out-$s ] && break; sleep 0.01; done; ";
    const auto stopped =
        shell(folder_.text(), program_,
              "for s in INT TERM HUP QUIT ALRM; do " + without + " -o out-$s in >/dev/null & p=$!; " + begun +
                  "sleep 0.05; kill -$s $p; wait $p; echo $?; done; "
                  "truncate -s 1G big.bin; (" +
                  without +
                  " --no-dc-filter -o - big.bin; echo $? >status) | head -c 1 >/dev/null; "
                  "cat status");
    EXPECT_EQ(stopped.out, "130\n143\n129\n131\n142\n141\n");
    for (const auto& entry : fs::recursive_directory_iterator(folder_.path())) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
}

TEST_F(Cli, OutputsTakeTheirPermissionsLikeCp) {
    write("private.bin", {1, 2, 3});
    fs::permissions(testsupport::pathOf(path("private.bin")), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(run({"private.bin"}).exitCode, 0);
    EXPECT_EQ(fs::status(testsupport::pathOf(path("zz_private.wav"))).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    // An earlier output keeps its own.
    const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(testsupport::pathOf(path("zz_private.wav")), shared);
    ASSERT_EQ(run({"private.bin"}).exitCode, 0);
    EXPECT_EQ(fs::status(testsupport::pathOf(path("zz_private.wav"))).permissions(), shared);
}

TEST_F(Cli, EveryLineNamesItsInputOnALineOfItsOwn) {
    write("a\nb", {});
    EXPECT_EQ(run({"a\nb"}).out, "Input file is 0 bytes! - a\\nb\n");
    // "." is the folder by its real name; its files left out are counted.
    fs::create_directories(testsupport::pathOf(path("album")));
    write("album/song.bin", {1, 2});
    write("album/empty.bin", {});
    fs::create_symlink("song.bin", testsupport::pathOf(path("album/link.bin")));
    const auto dot = testsupport::runProcess(program_, {"."}, path("album"));
    EXPECT_EQ(dot.exitCode, 0);
    EXPECT_EQ(lines(dot.out)[0], path("zz_album") + " did not exist and was created for you.");
    EXPECT_EQ(dot.err, ".: 2 files left out: 1 empty, 1 links or special files\n");
    EXPECT_TRUE(testsupport::exists(path("zz_album/song.wav")));
    // Quiet keeps only what is not converted.
    fs::remove_all(testsupport::pathOf(path("zz_album")));
    const auto quiet = run({"-q", "album", "missing"});
    EXPECT_EQ(quiet.out, "There was an error with your input or output arguments. - missing\n");
    EXPECT_EQ(quiet.err, "");
}

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
    // And the encodings of u-law and A-law.
    for (const auto& [encoding, named] : {std::pair{"ulaw", "u-law\n"}, std::pair{"alaw", "A-law\n"}}) {
        ASSERT_EQ(run({"--encoding", encoding, path("in.bin")}).exitCode, 0);
        EXPECT_EQ(soxi("-e"), named);
    }
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

TEST_F(CliConfig, ASettingsFileThatCannotBeWrittenLeavesTheDefaults) {
    // A folder in its place, as good as a program folder it may not write.
    write("a.bin", {1, 2});
    std::filesystem::create_directory(testsupport::pathOf(config()));
    const auto result = run({"--channels", "2", path("a.bin")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "quenmarl-cli: cannot open: " + config() + "; converting with the default settings\n");
    EXPECT_EQ(testsupport::readFile(path("zz_a.wav")), engine::expectedWav({1, 2}, true, 44100, 8, 2));
}

TEST_F(CliConfig, ULawAndALawWriteTheBytesUnchangedBehindTheirTags) {
    const Bytes input = testsupport::randomBytes(1001, 11);
    write("a.bin", input);
    const auto ulaw = run({"--encoding", "ulaw", "-o", path("u.wav"), path("a.bin")});
    EXPECT_EQ(ulaw.exitCode, 0) << ulaw.err;
    const auto header = [](std::uint16_t tag) {
        auto bytes = wavHeaderBytes(engine::writeWavHeader(1001, 44100, 8, 1));
        bytes[20] = static_cast<std::uint8_t>(tag);
        return Bytes(bytes.begin(), bytes.end());
    };
    Bytes expected = header(7);
    expected.insert(expected.end(), input.begin(), input.end());
    EXPECT_EQ(testsupport::readFile(path("u.wav")), expected);
    // From the settings file, whose bit depth is then taken as 8.
    testsupport::writeText(config(), "bit_depth=16\nencoding=alaw\n");
    const auto alaw = run({"-o", path("l.wav"), path("a.bin")});
    EXPECT_EQ(alaw.err, "quenmarl-cli: bit depth 16 is taken as 8 for alaw\n");
    const Bytes written = testsupport::readFile(path("l.wav"));
    EXPECT_EQ(Bytes(written.begin(), written.begin() + 44), header(6));
    // Another depth asked for with them is a usage error; an unknown
    // encoding in the file keeps PCM.
    EXPECT_EQ(run({"--encoding", "alaw", "--bit-depth", "16", path("a.bin")}).exitCode, 2);
    testsupport::writeText(config(), "encoding=mulaw\n");
    ASSERT_EQ(run({"-o", path("p.wav"), path("a.bin")}).exitCode, 0);
    EXPECT_EQ(testsupport::readFile(path("p.wav")), engine::expectedWav(input, true, 44100, 8, 1));
}

TEST_F(CliConfig, ConfigOptionReadsThatFileAndNeverWritesIt) {
    write("a.bin", {1, 2, 3, 4});
    testsupport::writeText(path("mine.cfg"), "bit_depth=16\n");
    const auto result = run({"--config", path("mine.cfg"), path("a.bin")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(testsupport::readFile(path("zz_a.wav")), engine::expectedWav({1, 2, 3, 4}, true, 44100, 16, 1));
    EXPECT_FALSE(testsupport::exists(config()));
    EXPECT_EQ(testsupport::readFile(path("mine.cfg")),
              Bytes({'b', 'i', 't', '_', 'd', 'e', 'p', 't', 'h', '=', '1', '6', '\n'}));
    const auto missing = run({"--config", path("none.cfg"), path("a.bin")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("cannot read the settings file: " + path("none.cfg")), std::string::npos) << missing.err;
    EXPECT_FALSE(testsupport::exists(path("none.cfg")));
}

}  // namespace
