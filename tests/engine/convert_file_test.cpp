#include "engine/convert_file.h"

#include <gtest/gtest.h>

#include "engine/conversion_plan.h"
#include "engine/errors.h"
#include "runtime/errors.h"
#include "tests/engine/conversion_fixture.h"

#ifdef _WIN32
#include <windows.h>

#include "runtime/text.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace engine {
namespace {

using testsupport::Bytes;

class ConvertFile : public ConversionTest {};

TEST_F(ConvertFile, WritesHeaderAndFilteredData) {
    const std::string input = write("in.bin", {0xFF, 0xFF, 0x00});
    convertFile(input, path("out.wav"), true, 44100, 8, 1);
    const Bytes wav = read(path("out.wav"));
    ASSERT_EQ(wav.size(), 47u);
    EXPECT_EQ(Bytes(wav.begin() + 44, wav.end()), (Bytes{0x66, 0x65, 0xFF}));
    EXPECT_EQ(wav, expectedWav({0xFF, 0xFF, 0x00}, true, 44100, 8, 1));
}

TEST_F(ConvertFile, WithoutTheFilterTheDataAreTheInputForEveryLayout) {
    const Bytes input = testsupport::randomBytes(100'003, 5);
    const std::string in = write("in.bin", input);
    for (std::uint16_t bits : {8, 12, 16, 24, 32}) {
        for (std::uint16_t channels : {1, 2, 7}) {
            convertFile(in, path("out.wav"), false, 8000, bits, channels);
            EXPECT_EQ(read(path("out.wav")), expectedWav(input, false, 8000, bits, channels))
                << bits << "/" << channels;
        }
    }
}

TEST_F(ConvertFile, FilteredOutputMatchesTheReferenceAcrossChunks) {
    // Sizes around the converter's first two chunk boundaries for every bit
    // depth (24-bit chunks hold whole samples on whole pages, so they are
    // shorter), with and without a partial sample at the end; and around
    // 16 MiB, where 24-bit inputs once got more chunks than buffers.
    const std::size_t sixteen = std::size_t{16} << 20;
    const Bytes all = testsupport::randomBytes(sixteen + 8, 3);
    for (std::uint16_t bits : {8, 16, 24, 32, 20}) {
        const std::size_t sample = bits / 8;
        const auto chunk = static_cast<std::size_t>(ChunkLayout(all.size(), sample).chunkBytes());
        std::vector<std::size_t> sizes = {chunk - 1,          chunk + 2,        2 * chunk - sample, 2 * chunk,
                                          2 * chunk + sample, sixteen - sample, sixteen + sample};
        if (bits == 24) sizes.insert(sizes.end(), {sixteen - 1, sixteen});
        for (std::size_t size : sizes) {
            const Bytes input(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(size));
            convertFile(write("in.bin", input), path("out.wav"), true, 44100, bits, 2);
            ASSERT_TRUE(read(path("out.wav")) == expectedWav(input, true, 44100, bits, 2))
                << size << " bytes, " << bits << " bits";
        }
    }
}

TEST_F(ConvertFile, RelativeInputIsTakenFromTheCurrentFolder) {
    const std::string in = write("rel.bin", {1, 2, 3, 4});
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());
    convertFile("rel.bin", path("out.wav"), false, 44100, 8, 1);
    std::filesystem::current_path(previous);
    EXPECT_EQ(read(path("out.wav")).size(), 48u);
}

TEST_F(ConvertFile, OutputThatCannotBeCreatedFailsAndNothingIsWritten) {
    const std::string in = write("in.bin", {1, 2, 3});
    const std::string out = path("missing-folder") + "/out.wav";
    EXPECT_EQ(failureLine([&] { convertFile(in, out, true, 44100, 8, 1); }),
              "ERROR: Could not create " + out + ": errno: 2 `No such file or directory`");
    EXPECT_FALSE(testsupport::exists(path("missing-folder")));
}

TEST_F(ConvertFile, InputThatCannotBeOpenedFailsAndCreatesNothing) {
    const std::string line = failureLine([&] { convertFile(path("nothing.bin"), path("out.wav"), true, 44100, 8, 1); });
    EXPECT_EQ(line.rfind("ERROR: Could not read " + path("nothing.bin") + ": ", 0), 0u) << line;
    EXPECT_FALSE(testsupport::exists(path("out.wav")));
}

TEST_F(ConvertFile, EmptyInputGivesAHeaderOnly) {
    const std::string in = write("empty.bin", {});
    convertFile(in, path("out.wav"), true, 44100, 16, 1);
    EXPECT_EQ(read(path("out.wav")), expectedWav({}, true, 44100, 16, 1));
}

TEST_F(ConvertFile, InputTooLargeForTheHeaderIsRefusedWithoutOutput) {
    // One byte more than a WAV header can count, as a sparse file.
    const std::string in = path("huge.bin");
    { testsupport::writeFile(in, {}); }
    std::filesystem::resize_file(testsupport::pathOf(in), maxWavDataSize + 1);
    EXPECT_EQ(failureLine([&] { convertFile(in, path("out.wav"), true, 44100, 8, 1); }),
              "ERROR: Input too large for a WAV file: " + in);
    EXPECT_FALSE(testsupport::exists(path("out.wav")));
}

#ifdef _WIN32
TEST_F(ConvertFile, InputHeldOpenForWritingCannotBeRead) {
    const std::string in = write("locked.bin", {1, 2, 3});
    HANDLE writer = CreateFileW(runtime::widen(in).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(
        failureLine([&] { convertFile(in, path("out.wav"), true, 44100, 8, 1); }).rfind("ERROR: Could not read ", 0),
        0u);
    CloseHandle(writer);
    EXPECT_FALSE(testsupport::exists(path("out.wav")));
}
#else
TEST_F(ConvertFile, PipeGivenAsInputIsRefusedInsteadOfBlocking) {
    const std::string fifo = path("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(failureLine([&] { convertFile(fifo, path("out.wav"), true, 44100, 8, 1); }),
              "ERROR: Input is not a regular file");
    EXPECT_FALSE(testsupport::exists(path("out.wav")));
}

TEST_F(ConvertFile, FullDeviceFailsWithTheErrnoText) {
    // A device is written in place: there is no file to replace.
    if (!testsupport::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const std::string in = write("in.bin", testsupport::randomBytes(70'000, 1));
    for (bool dcFilter : {true, false}) {
        EXPECT_EQ(failureLine([&] { convertFile(in, "/dev/full", dcFilter, 44100, 8, 1); }),
                  "ERROR: Could not write /dev/full: errno: 28 `No space left on device`");
    }
}
#endif

}  // namespace
}  // namespace engine
