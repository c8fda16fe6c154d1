#include "engine/convert_path.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>

#include "runtime/text.h"
#endif

#include "engine/conversion_observer.h"
#include "engine/errors.h"
#include "engine/folder_batch.h"
#include "engine/wav_file_name.h"
#include "runtime/busy_threads.h"
#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/paths.h"
#include "runtime/worker_pool.h"
#include "tests/engine/conversion_fixture.h"

namespace engine {
namespace {

using testsupport::Bytes;
namespace fs = std::filesystem;

constexpr std::size_t megabyte = 1 << 20;

ConversionSettings limits(double maxFilesMb, double maxFileMb) {
    ConversionSettings settings;
    settings.maxFilesSizeMb = maxFilesMb;
    settings.maxFileSizeMb = maxFileMb;
    return settings;
}

class ConvertPath : public ConversionTest {
protected:
    void folder(const std::string& name) const { fs::create_directories(testsupport::pathOf(path(name))); }
    bool has(const std::string& name) const { return testsupport::exists(path(name)); }
    std::string sep() const { return std::string(1, runtime::preferredSeparator()); }
    std::string at(const std::string& a, const std::string& b) const { return runtime::joinPath(path(a), b); }
};

TEST_F(ConvertPath, RefusalsRaiseTheirLine) {
    const std::string file = write("a.bin", {1, 2});
    const std::string empty = write("empty.bin", {});
    const struct {
        std::string input, output, line;
    } cases[] = {
        {file, file, "You cannot set the same input and output file for safety reasons"},
        {folder_.text(), folder_.text(), "You cannot set the same input and output file for safety reasons"},
        {"", "", "You cannot set the same input and output file for safety reasons"},
        {path("nothing"), path("out.wav"), "There was an error with your input or output arguments."},
        {empty, path("out.wav"), "Input file is 0 bytes!"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            failureLine([&] { EXPECT_THROW(convertPath(c.input, c.output, ConversionSettings{}), RefusalError); }),
            "(no error)");
        EXPECT_EQ(failureLine([&] { convertPath(c.input, c.output, ConversionSettings{}); }), c.line);
    }
    EXPECT_FALSE(has("out.wav"));
    EXPECT_EQ(read(file), (Bytes{1, 2}));
}

TEST_F(ConvertPath, SingleFileIgnoresTheSizeLimits) {
    const Bytes input = testsupport::randomBytes(2 * megabyte, 3);
    const std::string in = write("big.bin", input);
    convertPath(in, path("out.wav"), limits(0, 1));
    EXPECT_EQ(read(path("out.wav")), expectedWav(input, true, 44100, 8, 1));
}

TEST_F(ConvertPath, SettingsReachTheHeaderInTheirOrder) {
    const std::string in = write("a.bin", testsupport::randomBytes(1000, 4));
    convertPath(in, path("out.wav"), 16, 2, 8000, 1, 1, false);
    EXPECT_EQ(read(path("out.wav")), expectedWav(read(in), false, 8000, 16, 2));
}

TEST_F(ConvertPath, FolderBatchConvertsEveryFileIntoOneFlatFolder) {
    folder("in/sub/deeper");
    write("in/a.mp3", {1, 2, 3});
    write("in/sub/b.tar.gz", {4, 5});
    write("in/sub/deeper/.profile", {6});
    write("in/sub/empty.bin", {});
    const auto lines = linesReportedBy(
        [&](ConversionObserver* report) { convertPath(path("in"), path("out"), ConversionSettings{}, report); });
    EXPECT_EQ(lines, std::vector<std::string>{path("out") + " did not exist and was created for you."});
    EXPECT_EQ(read(at("out", "a.wav")), expectedWav({1, 2, 3}, true, 44100, 8, 1));
    EXPECT_EQ(read(at("out", "b.tar.wav")), expectedWav({4, 5}, true, 44100, 8, 1));
    EXPECT_EQ(read(at("out", "profile.wav")), expectedWav({6}, true, 44100, 8, 1));
    EXPECT_FALSE(testsupport::exists(at("out", "empty.wav")));
    EXPECT_FALSE(testsupport::exists(at("out", "sub")));
}

TEST_F(ConvertPath, SmallFilesFilteredTogetherComeOutAsIfAlone) {
    // More small files than go on together, of odd sizes at 16 bits (a byte
    // left over), around one too large to be read whole.
    folder("in");
    std::vector<std::pair<std::string, Bytes>> files;
    for (int i = 0; i < 21; ++i) files.emplace_back("f" + std::to_string(i), testsupport::randomBytes(1 + 397 * i, i));
    files.emplace_back("large", testsupport::randomBytes(300001, 99));
    for (const auto& [name, bytes] : files) write("in/" + name, bytes);
    ConversionSettings settings;
    settings.bitDepth = 16;
    convertPath(path("in"), path("out"), settings);
    for (const auto& [name, bytes] : files) {
        EXPECT_EQ(read(at("out", name + ".wav")), expectedWav(bytes, true, 44100, 16, 1)) << name;
    }
}

TEST_F(ConvertPath, ExistingOutputFolderIsUsedSilently) {
    folder("in");
    folder("out");
    write("in/a.bin", {1});
    const auto lines = linesReportedBy(
        [&](ConversionObserver* report) { convertPath(path("in"), path("out"), ConversionSettings{}, report); });
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(testsupport::exists(at("out", "a.wav")));
}

TEST_F(ConvertPath, MissingParentsOfTheOutputFolderAreCreated) {
    folder("in");
    write("in/a.bin", {1});
    const std::string out = path("x") + sep() + "y" + sep() + "z";
    const auto lines = linesReportedBy(
        [&](ConversionObserver* report) { convertPath(path("in"), out, ConversionSettings{}, report); });
    EXPECT_EQ(lines, std::vector<std::string>{out + " did not exist and was created for you."});
    EXPECT_TRUE(testsupport::exists(runtime::joinPath(out, "a.wav")));
}

TEST_F(ConvertPath, AnOutputFolderThatCannotBeMadeIsThatInputsFailure) {
    folder("in");
    write("in/a.bin", {1});
    write("blocker", {9});
    const std::string out = path("blocker") + sep() + "out";
    EXPECT_THROW(convertPath(path("in"), out, ConversionSettings{}), ConversionError);
    EXPECT_EQ(failureLine([&] { convertPath(path("in"), out, ConversionSettings{}); }),
              "ERROR: Could not create " + path("blocker") + ": errno: 17 `File exists`");
}

TEST_F(ConvertPath, OutputNamingAnExistingFileReportsEachFileAndFailsTheBatch) {
    folder("in");
    write("in/a.bin", {1});
    write("in/b.bin", {2});
    const std::string out = write("taken", {7});
    const auto lines = linesReportedBy(
        [&](ConversionObserver* report) { convertPath(path("in"), out, ConversionSettings{}, report); });
    ASSERT_EQ(lines.size(), 3u);
    for (int i : {0, 1}) EXPECT_EQ(lines[i].rfind("ERROR: Could not create " + out + sep(), 0), 0u);
    EXPECT_EQ(lines[2], "ERROR: 2 files were not converted; the first: " + lines[0].substr(7));
    EXPECT_EQ(read(out), (Bytes{7}));
}

TEST_F(ConvertPath, FileSizeLimitIsStrict) {
    folder("in");
    write("in/exact.bin", Bytes(megabyte, 1));
    write("in/less.bin", Bytes(megabyte - 1, 1));
    convertPath(path("in"), path("out"), limits(5000, 1));
    EXPECT_FALSE(testsupport::exists(at("out", "exact.wav")));
    EXPECT_TRUE(testsupport::exists(at("out", "less.wav")));
}

TEST_F(ConvertPath, TotalLimitIsTestedBeforeEachFile) {
    // Three files of 6 MB and a limit of 10: the first two go (total 12).
    folder("in/a");
    folder("in/b");
    folder("in/c");
    for (const char* name : {"a", "b", "c"})
        write(std::string("in/") + name + "/" + name + ".bin", Bytes(6 * megabyte, 3));
    convertPath(path("in"), path("out"), limits(10, 4096));
    int converted = 0;
    for (const char* name : {"a", "b", "c"}) converted += testsupport::exists(at("out", std::string(name) + ".wav"));
    EXPECT_EQ(converted, 2);
}

TEST_F(ConvertPath, ZeroOrNegativeLimitsConvertNothingButMakeTheFolder) {
    folder("in");
    write("in/a.bin", {1});
    for (const auto& settings : {limits(0, 4096), limits(5000, 0), limits(-1, -1)}) {
        fs::remove_all(testsupport::pathOf(path("out")));
        const auto lines = linesReportedBy(
            [&](ConversionObserver* report) { convertPath(path("in"), path("out"), settings, report); });
        EXPECT_EQ(lines, std::vector<std::string>{path("out") + " did not exist and was created for you."});
        EXPECT_TRUE(fs::is_empty(testsupport::pathOf(path("out"))));
    }
}

TEST_F(ConvertPath, BatchWalksDepthFirstAndLaterSameNamesReplaceEarlierOnes) {
    // Every file is called x and numbered by its size in kilobytes; a total
    // limit lets through exactly the first k files, and the last of them
    // stays in the output. A folder's own file goes while it is listed, its
    // subfolders after it, the one listed last first.
    for (const char* sub : {"p", "p/q", "s", "s/t"}) folder(std::string("in/") + sub);
    const char* files[] = {"", "/p", "/p/q", "/s", "/s/t"};
    for (int i = 0; i < 5; ++i) write(std::string("in") + files[i] + "/x", Bytes((i + 1) * 1000u, 1));
    std::vector<std::string> listed;
    for (const auto& entry : fs::directory_iterator(testsupport::pathOf(path("in")))) {
        if (entry.is_directory()) listed.push_back(entry.path().filename().string());
    }
    ASSERT_EQ(listed.size(), 2u);
    const std::vector<int> order = listed[0] == "p" ? std::vector<int>{1, 4, 5, 2, 3} : std::vector<int>{1, 2, 3, 4, 5};
    double before = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        fs::remove_all(testsupport::pathOf(path("out")));
        convertPath(path("in"), path("out"), limits(before + 1e-9, 4096));
        EXPECT_EQ(read(at("out", "x.wav")).size(), order[k] * 1000u + 44) << "file " << k << " of the walk";
        before += order[k] * 1000.0 / megabyte;
    }
}

TEST_F(ConvertPath, FilesThatCannotBeReadAreCountedAndTheRestConverted) {
    folder("in");
    // More than the batch holds open ahead of its writer (a few groups of
    // sixteen), so that some are still to be opened when they go.
    const int files = 200;
    for (int i = 0; i < files; ++i) write("in/f" + std::to_string(i), {static_cast<std::uint8_t>(i + 1)});
#ifdef _WIN32
    // Another program holds one file open without sharing it.
    const HANDLE held =
        CreateFileW(runtime::widen(path("in/f7")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
#else
    // When the first file is converted, another program removes them all:
    // those the batch has opened are converted all the same, the others
    // listed already are not there any more.
    struct RemoveAll : ConversionObserver {
        std::string folder;
        ConversionObserver* report = nullptr;
        void fileStarted(std::uint64_t) override {
            if (!folder.empty()) fs::remove_all(testsupport::pathOf(std::exchange(folder, {})));
        }
        void outputFolderCreated(const std::string& path) override { report->outputFolderCreated(path); }
        void fileNotConverted(const std::string& path, const std::string& line) override {
            report->fileNotConverted(path, line);
        }
    } removeAll;
    removeAll.folder = path("in");
#endif
    const auto lines = linesReportedBy([&](ConversionObserver* report) {
#ifdef _WIN32
        convertPath(path("in"), path("out"), ConversionSettings{}, report);
#else
        removeAll.report = report;
        convertPath(path("in"), path("out"), ConversionSettings{}, &removeAll);
#endif
    });
    const std::string message = lines.back();
#ifdef _WIN32
    CloseHandle(held);
#endif
    ASSERT_GE(lines.size(), 3u);
    const std::size_t failed = lines.size() - 2;
    for (std::size_t i = 1; i <= failed; ++i) {
        EXPECT_EQ(lines[i].rfind("ERROR: Could not read " + path("in") + sep() + "f", 0), 0u) << lines[i];
    }
    EXPECT_EQ(message, "ERROR: " + std::to_string(failed) + (failed == 1 ? " file was" : " files were") +
                           " not converted; the first: " + lines[1].substr(7));
    EXPECT_EQ(lines.back(), message);
    EXPECT_EQ(std::distance(fs::directory_iterator(testsupport::pathOf(path("out"))), fs::directory_iterator()),
              files - static_cast<long>(failed));
}

TEST_F(ConvertPath, NoMoreThreadsWorkAtOnceThanThereAreProcessors) {
    // Small files the walker readies while the writer writes, and large
    // ones the writer converts with the pool's workers.
    folder("in");
    std::vector<std::pair<std::string, Bytes>> files;
    for (int i = 0; i < 40; ++i) files.emplace_back("s" + std::to_string(i), testsupport::randomBytes(3000 + i, i));
    for (int i = 0; i < 3; ++i)
        files.emplace_back("l" + std::to_string(i), testsupport::randomBytes((20 << 20) + i, i));
    for (const auto& [name, bytes] : files) write("in/" + name, bytes);
    runtime::BusyThreads::resetPeak();
    convertPath(path("in"), path("out"), ConversionSettings{});
    const int processors = static_cast<int>(runtime::sharedWorkerPool().threadCount());
    EXPECT_LE(runtime::BusyThreads::peak(), processors);
    EXPECT_EQ(runtime::BusyThreads::peak(), std::min(processors, 2)) << "the walker and the writer side by side";
    for (const auto& [name, bytes] : files)
        EXPECT_EQ(read(at("out", name + ".wav")), expectedWav(bytes, true, 44100, 8, 1));
}

TEST_F(ConvertPath, AnErrorOtherThanAnInputsEndsTheBatchWithoutHanging) {
    folder("in");
    write("in/a.bin", {1});
    write("in/b.bin", {2});
    struct Failing : ConversionObserver {
        std::atomic<int> calls{0};
        void fileStarted(std::uint64_t) override {
            ++calls;
            throw std::runtime_error("out of luck");
        }
    } failing;
    EXPECT_THROW(convertFolder(path("in"), path("out"), ConversionSettings{}, &failing), std::runtime_error);
    EXPECT_EQ(failing.calls.load(), 1);
    // The pool is still usable afterwards.
    convertPath(path("in"), path("out2"), ConversionSettings{});
    EXPECT_TRUE(testsupport::exists(at("out2", "a.wav")));
}

#ifdef _WIN32
TEST_F(ConvertPath, FilesNamedLikeDevicesAreConvertedAsTheFilesTheyAre) {
    // Made elsewhere, where such names are legal: through the "\\?\" form.
    folder("in");
    const std::vector<std::string> names = {"con.bin", "aux", "prn.dat", "COM1", "ok.bin"};
    for (const std::string& name : names) testsupport::writeText("\\\\?\\" + at("in", name), name);
    convertPath(path("in"), path("out"), ConversionSettings{});
    for (const std::string& name : names) {
        const Bytes bytes(name.begin(), name.end());
        EXPECT_EQ(read("\\\\?\\" + at("out", wavFileName(name))), expectedWav(bytes, true, 44100, 8, 1)) << name;
    }
}
#endif

#ifndef _WIN32
TEST_F(ConvertPath, LinksAreNeitherConvertedNorFollowed) {
    folder("in");
    folder("elsewhere");
    write("elsewhere/target.bin", {1, 2});
    write("in/real.bin", {3});
    fs::create_symlink(testsupport::pathOf(path("elsewhere/target.bin")), testsupport::pathOf(path("in/link.bin")));
    fs::create_directory_symlink(testsupport::pathOf(path("elsewhere")), testsupport::pathOf(path("in/linkdir")));
    convertPath(path("in"), path("out"), ConversionSettings{});
    EXPECT_TRUE(testsupport::exists(at("out", "real.wav")));
    EXPECT_FALSE(testsupport::exists(at("out", "link.wav")));
    EXPECT_FALSE(testsupport::exists(at("out", "target.wav")));
}
#endif

TEST(WavFileName, ReplacesTheExtension) {
    EXPECT_EQ(wavFileName("song.mp3"), "song.wav");
    EXPECT_EQ(wavFileName("archive.tar.gz"), "archive.tar.wav");
    EXPECT_EQ(wavFileName("README"), "README.wav");
    EXPECT_EQ(wavFileName(".profile"), "profile.wav");
    EXPECT_EQ(wavFileName("..x"), ".x.wav");
    EXPECT_EQ(wavFileName("name."), "name.wav");
    EXPECT_EQ(wavFileName("clip.wav"), "clip.wav");
    EXPECT_EQ(wavFileName(""), ".wav");
    EXPECT_EQ(wavFileName("a.b\\c", runtime::PathStyle::windows), "a.b\\c.wav");
    EXPECT_EQ(wavFileName("a.b\\c", runtime::PathStyle::posix), "a.wav");
}

}  // namespace
}  // namespace engine
