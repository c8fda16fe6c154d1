#include "engine/convert_path.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>

#include "engine/errors.h"
#include "engine/folder_batch.h"
#include "engine/wav_file_name.h"
#include "runtime/errors.h"
#include "runtime/fs.h"
#include "runtime/paths.h"
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

TEST_F(ConvertPath, RefusalsPrintTheirLineAndRaiseIt) {
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
        std::string message;
        const auto lines = linesPrintedBy([&] {
            try {
                convertPath(c.input, c.output, ConversionSettings{});
            } catch (const RefusalError& error) {
                message = error.what();
            }
        });
        EXPECT_EQ(lines, std::vector<std::string>{c.line});
        EXPECT_EQ(message, c.line);
    }
    EXPECT_FALSE(has("out.wav"));
    EXPECT_EQ(read(file), (Bytes{1, 2}));
}

TEST_F(ConvertPath, PathsAreComparedAsGivenBeforeAnythingElse) {
    // Different text for the same file is not the same path.
    const std::string file = write("a.bin", {1, 2});
    convertPath(file, runtime::joinPath(folder_.text(), "." + sep() + "zz.wav"), ConversionSettings{});
    EXPECT_TRUE(has("zz.wav"));
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
    const auto lines = linesPrintedBy([&] { convertPath(path("in"), path("out"), ConversionSettings{}); });
    EXPECT_EQ(lines, std::vector<std::string>{path("out") + " did not exist and was created for you."});
    EXPECT_EQ(read(at("out", "a.wav")), expectedWav({1, 2, 3}, true, 44100, 8, 1));
    EXPECT_EQ(read(at("out", "b.tar.wav")), expectedWav({4, 5}, true, 44100, 8, 1));
    EXPECT_EQ(read(at("out", "profile.wav")), expectedWav({6}, true, 44100, 8, 1));
    EXPECT_FALSE(testsupport::exists(at("out", "empty.wav")));
    EXPECT_FALSE(testsupport::exists(at("out", "sub")));
}

TEST_F(ConvertPath, ExistingOutputFolderIsUsedSilently) {
    folder("in");
    folder("out");
    write("in/a.bin", {1});
    const auto lines = linesPrintedBy([&] { convertPath(path("in"), path("out"), ConversionSettings{}); });
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(testsupport::exists(at("out", "a.wav")));
}

TEST_F(ConvertPath, MissingParentsOfTheOutputFolderAreCreated) {
    folder("in");
    write("in/a.bin", {1});
    const std::string out = path("x") + sep() + "y" + sep() + "z";
    const auto lines = linesPrintedBy([&] { convertPath(path("in"), out, ConversionSettings{}); });
    EXPECT_EQ(lines, std::vector<std::string>{out + " did not exist and was created for you."});
    EXPECT_TRUE(testsupport::exists(runtime::joinPath(out, "a.wav")));
}

TEST_F(ConvertPath, OutputFolderBlockedByAFileOnTheWayRaisesIOError) {
    folder("in");
    write("in/a.bin", {1});
    write("blocker", {9});
    const std::string out = path("blocker") + sep() + "out";
    try {
        convertPath(path("in"), out, ConversionSettings{});
        FAIL() << "no error";
    } catch (const runtime::IOError& error) {
        EXPECT_EQ(std::string(error.what()), "Failed to create '" + path("blocker") + "'");
    }
}

TEST_F(ConvertPath, OutputNamingAnExistingFileReportsEachFileAndGoesOn) {
    folder("in");
    write("in/a.bin", {1});
    write("in/b.bin", {2});
    const std::string out = write("taken", {7});
    const auto lines = linesPrintedBy([&] { convertPath(path("in"), out, ConversionSettings{}); });
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string& line : lines) EXPECT_EQ(line.rfind("ERROR: Could not create " + out + sep(), 0), 0u);
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
        const auto lines = linesPrintedBy([&] { convertPath(path("in"), path("out"), settings); });
        EXPECT_EQ(lines, std::vector<std::string>{path("out") + " did not exist and was created for you."});
        EXPECT_TRUE(fs::is_empty(testsupport::pathOf(path("out"))));
    }
}

// The order a depth-first walk with an explicit stack visits the files in,
// from the platform's own listing order: the subfolder found last first.
void expectedOrder(const std::string& folder, std::vector<std::string>& files) {
    std::vector<std::string> pending{folder};
    while (!pending.empty()) {
        const std::string current = pending.back();
        pending.pop_back();
        runtime::FolderListing listing(current);
        while (const auto entry = listing.next()) {
            if (entry->name == "." || entry->name == "..") continue;
            const std::string full = runtime::joinPath(current, entry->name);
            if (entry->kind == runtime::FolderEntry::Kind::folder) pending.push_back(full);
            if (entry->kind == runtime::FolderEntry::Kind::file) files.push_back(full);
        }
    }
}

TEST_F(ConvertPath, BatchWalksDepthFirstAndLaterSameNamesReplaceEarlierOnes) {
    // Every file is called x, so only the last one converted stays in the
    // output; a total limit lets through exactly the first k files.
    for (const char* sub : {"p", "p/q", "p/q/r", "s", "s/t", "u"}) folder(std::string("in/") + sub);
    int size = 1;
    for (const char* sub : {"", "/p", "/p/q", "/p/q/r", "/s", "/s/t", "/u"}) {
        write(std::string("in") + sub + "/x", Bytes(static_cast<std::size_t>(size++) * 1000, 1));
    }
    std::vector<std::string> order;
    expectedOrder(path("in"), order);
    ASSERT_EQ(order.size(), 7u);
    double before = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        fs::remove_all(testsupport::pathOf(path("out")));
        convertPath(path("in"), path("out"), limits(before + 1e-9, 4096));
        const auto lastSize = read(order[k]).size();
        EXPECT_EQ(read(at("out", "x.wav")).size(), lastSize + 44) << "file " << k << " of the walk: " << order[k];
        before += static_cast<double>(lastSize) / megabyte;
    }
}

TEST_F(ConvertPath, OutputFolderInsideTheInputIsNotConvertedAgain) {
    folder("in/zz_in/sub");
    write("in/a.bin", {1});
    write("in/zz_in/old.bin", {2});
    write("in/zz_in/sub/deep.bin", {3});
    const std::string out = runtime::joinPath(path("in"), "zz_in");
    convertPath(path("in"), out, ConversionSettings{});
    EXPECT_TRUE(testsupport::exists(runtime::joinPath(out, "a.wav")));
    EXPECT_FALSE(testsupport::exists(runtime::joinPath(out, "old.wav")));
    EXPECT_TRUE(testsupport::exists(runtime::joinPath(out, "deep.wav")));
}

TEST_F(ConvertPath, ConversionErrorInAWorkerEndsTheBatchWithoutHanging) {
    folder("in");
    write("in/a.bin", {1});
    write("in/b.bin", {2});
    std::atomic<int> calls{0};
    const FileConverter failing = [&](const std::string&, const std::string&, const ConversionSettings&) {
        ++calls;
        throw runtime::IOError("errno: 28 `No space left on device`");
    };
    EXPECT_THROW(convertFolder(path("in"), path("out"), ConversionSettings{}, failing), runtime::IOError);
    EXPECT_EQ(calls.load(), 1);
    // The pool is still usable afterwards.
    convertPath(path("in"), path("out2"), ConversionSettings{});
    EXPECT_TRUE(testsupport::exists(at("out2", "a.wav")));
}

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
