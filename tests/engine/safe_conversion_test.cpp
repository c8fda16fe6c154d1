// What a conversion must never do: write over its own input, leave a part of
// a file under the output's name, lose an earlier output, or take files it
// cannot reach for converted.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "engine/conversion_observer.h"
#include "engine/convert_file.h"
#include "engine/convert_path.h"
#include "runtime/fs.h"
#include "runtime/paths.h"
#include "tests/engine/conversion_fixture.h"

#ifdef _WIN32
#include <windows.h>

#include "runtime/text.h"
#endif

namespace engine {
namespace {

using testsupport::Bytes;
namespace fs = std::filesystem;

// Changes the current folder for as long as it lives.
class InFolder {
public:
    explicit InFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
    ~InFolder() { fs::current_path(previous_); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    fs::path previous_;
};

class SafeConversion : public ConversionTest {
protected:
    std::string sep() const { return std::string(1, runtime::preferredSeparator()); }

    // The names in the test's folder, so that a left-over temporary file
    // shows.
    std::vector<std::string> names(const std::string& sub = "") const {
        std::vector<std::string> found;
        for (const auto& entry :
             fs::directory_iterator(testsupport::pathOf(sub.empty() ? folder_.text() : path(sub)))) {
            found.push_back(entry.path().filename().string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }
};

TEST_F(SafeConversion, TheSameFileUnderAnotherNameIsRefusedAndLeftWhole) {
    const Bytes input = testsupport::randomBytes(200'000, 1);
    const std::string file = write("f.bin", input);
    fs::create_directory(testsupport::pathOf(path("sub")));
    fs::create_hard_link(testsupport::pathOf(file), testsupport::pathOf(path("hard.bin")));
    const InFolder here(folder_.path());
    std::vector<std::string> spellings = {"f.bin", "." + sep() + "f.bin", path("sub") + sep() + ".." + sep() + "f.bin",
                                          path("hard.bin")};
#ifdef _WIN32
    spellings.push_back(path("F.BIN"));
#else
    fs::create_symlink(testsupport::pathOf(file), testsupport::pathOf(path("link.bin")));
    spellings.push_back(path("link.bin"));
#endif
    for (const std::string& output : spellings) {
        EXPECT_EQ(failureLine([&] { convertPath(file, output, ConversionSettings{}); }),
                  "You cannot set the same input and output file for safety reasons")
            << output;
        EXPECT_EQ(failureLine([&] { convertPath("f.bin", output, ConversionSettings{}); }),
                  "You cannot set the same input and output file for safety reasons")
            << output;
    }
    EXPECT_EQ(read(file), input);
#ifdef _WIN32
    EXPECT_EQ(names(), (std::vector<std::string>{"f.bin", "hard.bin", "sub"}));
#else
    EXPECT_EQ(names(), (std::vector<std::string>{"f.bin", "hard.bin", "link.bin", "sub"}));
#endif
}

TEST_F(SafeConversion, AFolderIntoItselfOrBelowItIsRefusedBeforeAnythingIsCreated) {
    fs::create_directories(testsupport::pathOf(path("in/sub")));
    write("in/a.bin", {1});
    std::vector<std::string> outputs = {path("in") + sep() + ".", path("in") + sep() + "out",
                                        path("in/sub") + sep() + ".." + sep() + "new" + sep() + "deeper"};
#ifndef _WIN32
    fs::create_directory_symlink(testsupport::pathOf(path("in/sub")), testsupport::pathOf(path("into")));
    outputs.push_back(path("into") + "/out");
#endif
    for (const std::string& output : outputs) {
        EXPECT_EQ(failureLine([&] { convertPath(path("in"), output, ConversionSettings{}); }),
                  "You cannot set the same input and output file for safety reasons")
            << output;
    }
    EXPECT_EQ(names("in"), (std::vector<std::string>{"a.bin", "sub"}));
    EXPECT_TRUE(fs::is_empty(testsupport::pathOf(path("in/sub"))));
    // Beside the input, or holding it, is fine.
    convertPath(path("in"), path("zz_in"), ConversionSettings{});
    EXPECT_TRUE(testsupport::exists(path("zz_in/a.wav")));
}

// Acts once, when the first data have been written.
struct AfterFirstWrite : ConversionObserver {
    std::function<void()> action;
    void dataWritten(std::uint64_t) override {
        if (action) std::exchange(action, nullptr)();
    }
};

TEST_F(SafeConversion, AFailedConversionLeavesTheEarlierOutputAndNoPartOfTheNewOne) {
    // Larger than one round of the converter, so that it stops half way.
    const std::string in = write("song.bin", testsupport::randomBytes((std::size_t{8} << 20) + 3, 2));
    const Bytes earlier = {1, 2, 3};
    write("zz_song.wav", earlier);
    for (bool dcFilter : {true, false}) {
        AfterFirstWrite diskFull;
        diskFull.action = [] { throw runtime::IOError("errno: 28 `No space left on device`"); };
        EXPECT_EQ(failureLine([&] { convertFile(in, path("zz_song.wav"), dcFilter, 44100, 16, 2, &diskFull); }),
                  "ERROR: Could not write " + path("zz_song.wav") + ": errno: 28 `No space left on device`");
        EXPECT_EQ(read(path("zz_song.wav")), earlier);
        EXPECT_EQ(names(), (std::vector<std::string>{"song.bin", "zz_song.wav"}));
    }
    // And a successful one replaces it.
    convertFile(in, path("zz_song.wav"), true, 44100, 16, 2);
    EXPECT_EQ(read(path("zz_song.wav")), expectedWav(read(in), true, 44100, 16, 2));
    EXPECT_EQ(names(), (std::vector<std::string>{"song.bin", "zz_song.wav"}));
}

TEST_F(SafeConversion, AnInputShortenedDuringItsConversionGivesNoOutput) {
    const Bytes input = testsupport::randomBytes((std::size_t{20} << 20) + 1, 3);
    const std::string in = write("big.bin", input);
    for (bool dcFilter : {true, false}) {
        testsupport::writeFile(in, input);
        AfterFirstWrite shorten;
        bool shortened = false;
        shorten.action = [&] {
            std::error_code error;
            fs::resize_file(testsupport::pathOf(in), 1000, error);
            shortened = !error;
        };
#ifdef _WIN32
        // Shared for reading only while it is converted: nobody can shorten it.
        convertFile(in, path("out.wav"), dcFilter, 44100, 8, 1, &shorten);
        EXPECT_FALSE(shortened);
        EXPECT_EQ(read(path("out.wav")), expectedWav(input, dcFilter, 44100, 8, 1));
#else
        EXPECT_EQ(failureLine([&] { convertFile(in, path("out.wav"), dcFilter, 44100, 8, 1, &shorten); }),
                  "ERROR: Input changed during conversion: " + in);
        EXPECT_TRUE(shortened);
        EXPECT_EQ(names(), std::vector<std::string>{"big.bin"});
#endif
    }
}

// A chain of folders whose whole path is longer than the platform's plain
// calls take (PATH_MAX on Linux, MAX_PATH on Windows), with a file at its end.
std::string deepFile(const std::string& top, std::size_t pathLength) {
    std::string folder = top;
    const std::string name(60, 'd');
    std::error_code ignored;
#ifdef _WIN32
    while (folder.size() < pathLength) {
        folder = runtime::joinPath(folder, name);
        if (!CreateDirectoryW((L"\\\\?\\" + runtime::widen(folder)).c_str(), nullptr)) return {};
    }
    const std::string file = runtime::joinPath(folder, "deep.bin");
    const HANDLE handle =
        CreateFileW((L"\\\\?\\" + runtime::widen(file)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    DWORD written = 0;
    WriteFile(handle, "\x01\x02\x03", 3, &written, nullptr);
    CloseHandle(handle);
#else
    // Made step by step from the current folder: the whole path is too long.
    const InFolder there(testsupport::pathOf(top));
    while (folder.size() < pathLength) {
        fs::create_directory(name);
        fs::current_path(name);
        folder += "/" + name;
    }
    testsupport::writeFile("deep.bin", {1, 2, 3});
    const std::string file = folder + "/deep.bin";
#endif
    return file;
}

TEST_F(SafeConversion, FilesBeyondTheLongestPlainPathAreConverted) {
    fs::create_directory(testsupport::pathOf(path("in")));
    write("in/near.bin", {4});
#ifdef _WIN32
    const std::size_t length = MAX_PATH + 100;
#else
    const std::size_t length = 4096 + 500;
#endif
    ASSERT_FALSE(deepFile(path("in"), length).empty());
    const auto lines = linesReportedBy(
        [&](ConversionObserver* report) { convertPath(path("in"), path("out"), ConversionSettings{}, report); });
    EXPECT_EQ(lines.size(), 1u);  // the output folder's creation, no error
    EXPECT_EQ(read(path("out/deep.wav")), expectedWav({1, 2, 3}, true, 44100, 8, 1));
    EXPECT_TRUE(testsupport::exists(path("out/near.wav")));
#ifndef _WIN32
    // Emptied from the bottom up, by short relative paths, before the
    // test's folder is removed.
    const InFolder there(folder_.path() / "in");
    int depth = 0;
    for (; fs::exists(std::string(60, 'd')); ++depth) fs::current_path(std::string(60, 'd'));
    for (; depth > 0; --depth) {
        for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
        fs::current_path("..");
    }
#endif
}

}  // namespace
}  // namespace engine
