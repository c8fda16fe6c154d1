// The WAV reader on the fixture files (wav_fixtures/make_fixtures.sh says
// how each was made) and on our own header.
#include "engine/wav_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/wav_header.h"
#include "runtime/input_file.h"
#include "tests/support/files.h"
#include "tests/support/process.h"

namespace engine {
namespace {

using testsupport::Bytes;

std::string fixture(const std::string& name, const char* extension) {
    return testsupport::hostPath(std::string(QUENMARL_WAV_FIXTURES) + "/" + name + extension);
}

std::optional<WavError> refusalOf(ByteSource& source) {
    try {
        findWavData(source);
    } catch (const WavError& error) {
        return error;
    }
    return std::nullopt;
}

// Everything the reader found, in one line that a failure shows whole.
std::string described(const WavData& data) {
    const WavFormat& f = data.format;
    return std::to_string(data.offset) + " " + (data.claimedSize ? std::to_string(*data.claimedSize) : "open") + "/" +
           std::to_string(data.presentSize) + " tag " + std::to_string(f.formatTag) + "." +
           std::to_string(f.subFormatTag) + " " + std::to_string(f.channels) + "ch " + std::to_string(f.sampleRate) +
           "Hz " + std::to_string(f.bitsPerSample) + "b" + (data.rf64 ? " rf64" : "");
}

TEST(WavReaderFinds, TheDataOfEveryKindOfFile) {
    // Offset, claimed/present size, format tag.sub-format tag, channels, rate, bits.
    const std::pair<const char*, const char*> cases[] = {
        {"list_comment", "86 64/64 tag 1.0 1ch 8000Hz 16b"},
        {"extensible24x3", "80 135/135 tag 65534.1 3ch 8000Hz 24b"},
        {"ulaw", "58 33/33 tag 7.0 1ch 8000Hz 8b"},
        {"alaw", "58 33/33 tag 6.0 1ch 8000Hz 8b"},
        {"float32", "58 128/128 tag 3.0 2ch 8000Hz 32b"},
        {"rf64", "80 6/6 tag 1.0 1ch 8000Hz 8b rf64"},
        {"bw64", "80 10/6 tag 1.0 1ch 8000Hz 8b rf64"},
        {"stream", "44 open/8 tag 1.0 1ch 8000Hz 8b"},
        {"data_first", "32 3/3 tag 1.0 1ch 8000Hz 8b"},
        {"empty_data", "44 0/0 tag 1.0 1ch 8000Hz 8b"},
        {"cut_off", "58 33/23 tag 7.0 1ch 8000Hz 8b"},
        {"sox_pipe", "44 open/8 tag 1.0 1ch 8000Hz 8b"},
    };
    for (const auto& [name, expected] : cases) {
        runtime::InputFile input(fixture(name, ".wav"));
        const WavData data = findWavData(input);
        EXPECT_EQ(described(data), expected) << name;
        const std::string raw = fixture(name, ".raw");
        if (!testsupport::exists(raw)) continue;
        Bytes bytes(data.presentSize);
        input.read(data.offset, bytes.size(), bytes.data());
        EXPECT_EQ(bytes, testsupport::readFile(raw)) << name;
    }
}

TEST(WavReaderFinds, TheDataBehindOurOwnHeader) {
    const auto header = wavHeaderBytes(writeWavHeader(3, 44100, 32, 2));
    Bytes bytes(header.begin(), header.end());
    bytes.resize(47);
    MemoryBytes source(bytes);
    EXPECT_EQ(described(findWavData(source)), "44 3/3 tag 3.0 2ch 44100Hz 32b");
}

TEST(WavReaderRefuses, MalformedFilesWithTheirReason) {
    const std::tuple<const char*, WavProblem, const char*> cases[] = {
        {"rifx", WavProblem::notWave, "not a RIFF/WAVE file"},
        {"no_data", WavProblem::noData, "no data chunk"},
        {"no_fmt", WavProblem::noFmt, "no fmt chunk"},
        {"no_fmt_before_open_data", WavProblem::noFmt, "no fmt chunk before the data, which reach the end of the file"},
        {"past_end", WavProblem::chunkPastEnd,
         "a chunk runs past the end of the file: \"\\x01IST\" at byte 36 claims 1000 bytes, 14 follow its header"},
        {"no_ds64", WavProblem::noDs64, "no ds64 chunk at the start of the RF64 file"},
        {"short_fmt", WavProblem::chunkTooShort, "the fmt chunk is too short: 14 bytes, its fields take 16"},
    };
    for (const auto& [name, problem, reason] : cases) {
        runtime::InputFile input(fixture(name, ".wav"));
        InputFileBytes source(input);
        const std::optional<WavError> error = refusalOf(source);
        ASSERT_TRUE(error) << name;
        EXPECT_EQ(error->problem(), problem) << name;
        EXPECT_STREQ(error->what(), reason);
    }
}

TEST(WavReaderRefuses, ChunksBeyondItsBound) {
    // Our own file with empty chunks between the RIFF header and the fmt chunk.
    const auto header = wavHeaderBytes(writeWavHeader(0, 44100, 8, 1));
    Bytes bytes(header.begin(), header.begin() + 12);
    for (std::uint32_t i = 0; i < maxWavChunks; ++i) bytes.insert(bytes.end(), {'J', 'U', 'N', 'K', 0, 0, 0, 0});
    bytes.insert(bytes.end(), header.begin() + 12, header.end());
    MemoryBytes source(bytes);
    const std::optional<WavError> error = refusalOf(source);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->problem(), WavProblem::tooManyChunks);
}

}  // namespace
}  // namespace engine
