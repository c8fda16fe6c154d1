#include "engine/wav_header.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace engine {
namespace {

std::vector<std::uint8_t> bytesOf(std::uint32_t dataSize, std::int32_t rate, std::uint16_t bits,
                                  std::uint16_t channels) {
    const auto bytes = wavHeaderBytes(writeWavHeader(dataSize, rate, bits, channels));
    return {bytes.begin(), bytes.end()};
}

TEST(WavHeader, EightBitMonoGoldenBytes) {
    const std::vector<std::uint8_t> expected = {0x52, 0x49, 0x46, 0x46, 0x0C, 0x04, 0x00, 0x00, 0x57, 0x41, 0x56,
                                                0x45, 0x66, 0x6D, 0x74, 0x20, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00,
                                                0x01, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x01,
                                                0x00, 0x08, 0x00, 0x64, 0x61, 0x74, 0x61, 0xE8, 0x03, 0x00, 0x00};
    EXPECT_EQ(bytesOf(1000, 44100, 8, 1), expected);
}

TEST(WavHeader, ThirtyTwoBitsDeclareFloatingPoint) {
    const std::vector<std::uint8_t> expected = {0x52, 0x49, 0x46, 0x46, 0x24, 0x10, 0x00, 0x00, 0x57, 0x41, 0x56,
                                                0x45, 0x66, 0x6D, 0x74, 0x20, 0x10, 0x00, 0x00, 0x00, 0x03, 0x00,
                                                0x02, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x20, 0x62, 0x05, 0x00, 0x08,
                                                0x00, 0x20, 0x00, 0x64, 0x61, 0x74, 0x61, 0x00, 0x10, 0x00, 0x00};
    EXPECT_EQ(bytesOf(4096, 44100, 32, 2), expected);
}

TEST(WavHeader, OddDataSizeGetsNoPadInTheRiffSize) {
    const WavHeader header = writeWavHeader(3, 44100, 16, 2);
    EXPECT_EQ(header.riffSize, 39u);
    EXPECT_EQ(header.dataSize, 3u);
}

TEST(WavHeader, BitDepthsThatAreNoMultipleOfEightDropTheRemainder) {
    const WavHeader header = writeWavHeader(10, 44100, 12, 1);
    EXPECT_EQ(header.formatTag, 1);
    EXPECT_EQ(header.byteRate, 66150u);
    EXPECT_EQ(header.blockAlign, 1);
    EXPECT_EQ(header.bitsPerSample, 12);
}

TEST(WavHeader, ProductsWrapInTheirOwnWidth) {
    // 65535 channels of 65535 bits: the block align keeps the low 16 bits of
    // the product (0xFFFE0001 -> 0x0001) before dividing by 8.
    EXPECT_EQ(writeWavHeader(0, 1, 65535, 65535).blockAlign, 0);
    // Rate * channels * bits wraps at 32 bits: 2^31 * 2 * 8 = 2^35 -> 0.
    EXPECT_EQ(writeWavHeader(0, INT32_MIN, 8, 2).byteRate, 0u);
    // A negative rate is written as its 32 bits.
    EXPECT_EQ(writeWavHeader(0, -1, 8, 1).sampleRate, 0xFFFFFFFFu);
    EXPECT_EQ(writeWavHeader(0, 44100, 0, 0).blockAlign, 0);
}

TEST(WavHeader, ULawAndALawAreEightBitsWithTheirOwnTags) {
    for (const auto& [encoding, tag] : {std::pair{SampleEncoding::ulaw, 7}, std::pair{SampleEncoding::alaw, 6}}) {
        const WavHeader header = writeWavHeader(1000, 8000, 16, 2, encoding);
        EXPECT_EQ(header.formatTag, tag);
        EXPECT_EQ(header.bitsPerSample, 8);
        EXPECT_EQ(header.blockAlign, 2);
        EXPECT_EQ(header.byteRate, 16000u);
    }
    EXPECT_EQ(writeWavHeader(1000, 8000, 32, 1, SampleEncoding::pcm).formatTag, 3);
}

TEST(WavHeader, LargestDescribableDataFillsTheRiffSizeExactly) {
    const WavHeader header = writeWavHeader(static_cast<std::uint32_t>(maxWavDataSize), 44100, 8, 1);
    EXPECT_EQ(header.riffSize, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace engine
