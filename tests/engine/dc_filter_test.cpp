#include "engine/dc_filter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "engine/filter_lanes.h"
#include "tests/engine/kernel_choice.h"

namespace engine {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes filtered(const Bytes& input, std::uint16_t bitDepth) {
    // The destination starts as garbage: whatever the filter does not set
    // must still come out as the input's bytes.
    Bytes output(input.size(), 0xAA);
    applyDcFilter(output.data(), input.data(), static_cast<std::int64_t>(input.size()), bitDepth);
    return output;
}

TEST(DcFilter, EightBitKnownAnswer) { EXPECT_EQ(filtered({0xFF, 0xFF, 0x00}, 8), (Bytes{0x66, 0x65, 0xFF})); }

TEST(DcFilter, SixteenBitKnownAnswers) {
    EXPECT_EQ(filtered({0x00, 0x80}, 16), (Bytes{0x33, 0x33}));
    EXPECT_EQ(filtered({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}, 16), (Bytes{0x66, 0x66, 0xE2, 0x65, 0xFB, 0xFE}));
}

TEST(DcFilter, ConstantInputDecaysSlowly) {
    const Bytes output = filtered(Bytes(1000, 128), 8);
    EXPECT_EQ(output[0], 51);
    EXPECT_EQ(output[1], 50);
    EXPECT_EQ(output[2], 50);
    EXPECT_EQ(output[3], 50);
    // 0.4 * 128 * 0.995^n falls below 1 after about 780 samples.
    EXPECT_GT(output[100], 0);
    EXPECT_EQ(output[999], 0);
}

TEST(DcFilter, ChannelsShareOneState) {
    // Two channels of 16 bits: the left and right samples are one stream.
    const Bytes stereo = {0x00, 0x80, 0x00, 0x00};
    const Bytes output = filtered(stereo, 16);
    // Second sample: y = (0 - 32768) + 0.995 * 32768, written 0.4 * y.
    const double y = (0.0 - 32768.0) + 0.995 * 32768.0;
    const auto expected = static_cast<std::uint16_t>(static_cast<std::int32_t>(0.4 * y));
    EXPECT_EQ(output[2] | (output[3] << 8), expected);
}

TEST(DcFilter, ExtremesStayInsideTheSignedRange) {
    for (std::uint16_t bits : {8, 16, 24, 32}) {
        const int width = bits / 8;
        Bytes input;
        for (int i = 0; i < 64; ++i) input.insert(input.end(), width, i % 2 ? 0xFF : 0x00);
        const Bytes output = filtered(input, bits);
        const std::int64_t limit = static_cast<std::int64_t>(0.4 * ((std::int64_t{1} << bits) - 1));
        for (int i = 0; i < 64; ++i) {
            std::uint64_t raw = 0;
            for (int b = 0; b < width; ++b) raw |= std::uint64_t{output[i * width + b]} << (8 * b);
            const std::int64_t value = raw >= (std::uint64_t{1} << (bits - 1))
                                           ? static_cast<std::int64_t>(raw) - (std::int64_t{1} << bits)
                                           : static_cast<std::int64_t>(raw);
            EXPECT_LE(std::abs(value), limit) << "bits " << bits << " sample " << i;
        }
    }
}

TEST(DcFilter, PartialTrailingSampleKeepsTheInputBytes) {
    const Bytes input = {0x00, 0x80, 0x7B};  // one 16-bit sample and one byte
    const Bytes output = filtered(input, 16);
    EXPECT_EQ(output, (Bytes{0x33, 0x33, 0x7B}));
    const Bytes short24 = {0x01, 0x02};  // less than one 24-bit sample
    EXPECT_EQ(filtered(short24, 24), short24);
}

TEST(DcFilter, UnfilteredBitDepthsKeepEveryInputByte) {
    const Bytes input = {1, 2, 3, 4, 5, 6, 7};
    for (std::uint16_t bits : {0, 4, 12, 64, 65535}) EXPECT_EQ(filtered(input, bits), input) << bits;
}

// Streams of many lengths filtered together, more than run side by side at
// once, one of them a constant run that comes to rest: each exactly as if
// filtered alone, into other buffers or in place.
class SideBySide : public testing::TestWithParam<FilterKernel> {};

TEST_P(SideBySide, EachStreamAsIfFilteredAlone) {
    CHOOSE_FILTER_KERNEL_OR_SKIP(GetParam());
    std::mt19937 generator(7);
    for (std::uint16_t bits : {8, 16, 24, 32}) {
        const std::size_t width = bits / 8;
        std::vector<Bytes> inputs;
        for (std::size_t samples : {0, 1, 3, 17, 600, 2000, 4096, 4097, 5000}) {
            for (int copy = 0; copy < 2; ++copy) {
                Bytes input(samples * width);
                for (auto& byte : input) byte = static_cast<std::uint8_t>(generator());
                inputs.push_back(std::move(input));
            }
        }
        inputs.push_back(Bytes(3000 * width, 0x80));
        std::vector<Bytes> outputs;
        std::vector<FilterStream> streams;
        for (const Bytes& input : inputs) outputs.emplace_back(input.size(), 0xAA);
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            streams.push_back({inputs[i].data(), outputs[i].data(), inputs[i].size() / width});
        }
        filterStreamsSideBySide(streams, bits, detail::laneKernelsFor(GetParam()));
        std::vector<Bytes> inPlace = inputs;
        for (std::size_t i = 0; i < inputs.size(); ++i)
            streams[i] = {inPlace[i].data(), inPlace[i].data(), streams[i].samples};
        filterStreamsSideBySide(streams, bits, detail::laneKernelsFor(GetParam()));
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            const Bytes expected = filtered(inputs[i], bits);
            EXPECT_EQ(outputs[i], expected) << bits << " bits, stream " << i;
            EXPECT_EQ(inPlace[i], expected) << bits << " bits, stream " << i << " in place";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, SideBySide,
                         testing::Values(FilterKernel::avx512, FilterKernel::avx2, FilterKernel::sse2,
                                         FilterKernel::sequential),
                         [](const testing::TestParamInfo<FilterKernel>& kernel) {
                             return enginetest::kernelTestName(kernel.param);
                         });

}  // namespace
}  // namespace engine
