// Every vector kernel against the scalar lanes, bit for bit, on the data
// where they differ most from each other: random, extremes and runs.
#include "engine/filter_lanes.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <vector>

namespace engine::detail {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Run {
    Bytes output;
    std::vector<DcFilterState> states;
};

// A state the filter can be in: the one it reaches over some samples. (The
// vector kernels narrow outputs with saturation, which is exact only for
// outputs the filter can produce.)
template <class Codec>
DcFilterState reachableState(int seed) {
    Bytes prefix(200 * Codec::size);
    std::mt19937 generator(static_cast<unsigned>(seed));
    for (auto& byte : prefix) byte = static_cast<std::uint8_t>(generator());
    Bytes ignored(prefix.size());
    Lane lane{prefix.data(), ignored.data(), {}};
    stepLanes<Codec, true, 1>(&lane, 200);
    return lane.state;
}

// Eight lanes over consecutive stretches of input, from varied states.
template <class Codec, class Advance>
Run runLanes(const Bytes& input, std::uint64_t steps, Advance advance) {
    Run run{Bytes(input.size(), 0xAA), {}};
    Lane lanes[8];
    const std::uint64_t stretch = steps * Codec::size;
    for (int k = 0; k < 8; ++k) {
        lanes[k].source = input.data() + k * stretch;
        lanes[k].destination = run.output.data() + k * stretch;
        lanes[k].state = reachableState<Codec>(k);
    }
    advance(lanes, steps);
    for (const Lane& lane : lanes) run.states.push_back(lane.state);
    return run;
}

void expectSame(const Run& expected, const Run& actual, const char* kernel) {
    EXPECT_TRUE(expected.output == actual.output) << kernel;
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(expected.states[k].yPrev),
                  std::bit_cast<std::uint64_t>(actual.states[k].yPrev))
            << kernel << " lane " << k;
        EXPECT_EQ(expected.states[k].xPrev, actual.states[k].xPrev) << kernel << " lane " << k;
    }
}

Bytes testInput(std::size_t size, int pattern) {
    Bytes bytes(size);
    std::mt19937 generator(static_cast<unsigned>(size + pattern));
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = pattern == 0 ? static_cast<std::uint8_t>(generator()) : pattern == 1 ? (i % 2 ? 0xFF : 0x00) : 0x80;
    }
    return bytes;
}

template <class Codec>
void compareKernels(std::uint64_t steps) {
    constexpr int size = Codec::size;
    for (int pattern = 0; pattern < 3; ++pattern) {
        const Bytes input = testInput(8 * steps * size, pattern);
        const Run scalar =
            runLanes<Codec>(input, steps, [](Lane* l, std::uint64_t n) { stepLanes<Codec, true, 8>(l, n); });
        const Run best =
            runLanes<Codec>(input, steps, [](Lane* l, std::uint64_t n) { stepLanes<Codec, true>(l, 8, n); });
        expectSame(scalar, best, "dispatched");
#ifdef QUENMARL_FILTER_SSE2
        const Run sse2 = runLanes<Codec>(input, steps, [](Lane* l, std::uint64_t n) {
            const std::uint64_t done =
                size == 1 ? sse2::stepEightLanes8<true>(l, n) : sse2::stepEightLanes16<true>(l, n);
            stepLanes<Codec, true, 8>(l, n - done);
        });
        expectSame(scalar, sse2, "SSE2");
#endif
#ifdef QUENMARL_FILTER_AVX2
        if (avx2::available()) {
            const Run avx = runLanes<Codec>(input, steps, [](Lane* l, std::uint64_t n) {
                const std::uint64_t done =
                    size == 1 ? avx2::stepEightLanes8(l, n, true) : avx2::stepEightLanes16(l, n, true);
                stepLanes<Codec, true, 8>(l, n - done);
            });
            expectSame(scalar, avx, "AVX2");
            // A warm-up moves the states exactly as a writing run does.
            const Run warm = runLanes<Codec>(input, steps, [](Lane* l, std::uint64_t n) {
                const std::uint64_t done =
                    size == 1 ? avx2::stepEightLanes8(l, n, false) : avx2::stepEightLanes16(l, n, false);
                stepLanes<Codec, false, 8>(l, n - done);
            });
            EXPECT_TRUE(warm.output == Bytes(input.size(), 0xAA));
            for (int k = 0; k < 8; ++k) {
                EXPECT_EQ(std::bit_cast<std::uint64_t>(warm.states[k].yPrev),
                          std::bit_cast<std::uint64_t>(scalar.states[k].yPrev));
            }
        }
#endif
    }
}

TEST(FilterLanes, VectorKernelsMatchTheScalarLanesForEightBits) {
    for (std::uint64_t steps : {0, 15, 16, 17, 4099}) compareKernels<SampleCodec<1>>(steps);
}

TEST(FilterLanes, VectorKernelsMatchTheScalarLanesForSixteenBits) {
    for (std::uint64_t steps : {0, 7, 8, 9, 4099}) compareKernels<SampleCodec<2>>(steps);
}

}  // namespace
}  // namespace engine::detail
