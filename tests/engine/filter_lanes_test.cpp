// Every vector kernel against the scalar lanes, bit for bit, on the data
// where they differ most from each other: random, extremes and runs.
#include "engine/filter_lanes.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <vector>

#include "tests/engine/kernel_choice.h"

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

// Sixteen lanes over consecutive stretches of input, from varied states.
template <class Codec, class Advance>
Run runLanes(const Bytes& input, std::uint64_t steps, Advance advance) {
    Run run{Bytes(input.size(), 0xAA), {}};
    Lane lanes[16];
    const std::uint64_t stretch = steps * Codec::size;
    for (int k = 0; k < 16; ++k) {
        lanes[k].source = input.data() + k * stretch;
        lanes[k].destination = run.output.data() + k * stretch;
        lanes[k].state = reachableState<Codec>(k);
    }
    advance(lanes, steps);
    for (const Lane& lane : lanes) run.states.push_back(lane.state);
    return run;
}

void expectSame(const Run& expected, const Run& actual, const char* what) {
    EXPECT_TRUE(expected.output == actual.output) << what;
    for (std::size_t k = 0; k < expected.states.size(); ++k) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(expected.states[k].yPrev),
                  std::bit_cast<std::uint64_t>(actual.states[k].yPrev))
            << what << " lane " << k;
        EXPECT_EQ(expected.states[k].xPrev, actual.states[k].xPrev) << what << " lane " << k;
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

class FilterLanesOnKernel : public ::testing::TestWithParam<FilterKernel> {};

// Every count of lanes the fast filter uses, through the dispatch as the
// chosen kernel runs it, writing and as a warm-up, against single scalar
// lanes.
template <class Codec>
void compareWithScalarLanes(std::uint64_t steps) {
    const LaneKernels kernels = laneKernelsFor(filterKernelInUse());
    for (int pattern = 0; pattern < 3; ++pattern) {
        const Bytes input = testInput(16 * steps * Codec::size, pattern);
        for (int count : {8, 11, 16}) {
            SCOPED_TRACE(::testing::Message() << steps << " steps, pattern " << pattern << ", " << count << " lanes");
            const Run reference = runLanes<Codec>(input, steps, [count](Lane* l, std::uint64_t n) {
                for (int k = 0; k < count; ++k) stepLanes<Codec, true, 1>(l + k, n);
            });
            const Run written = runLanes<Codec>(
                input, steps, [&](Lane* l, std::uint64_t n) { stepLanes<Codec, true>(kernels, l, count, n); });
            expectSame(reference, written, "writing");
            Run warm = runLanes<Codec>(
                input, steps, [&](Lane* l, std::uint64_t n) { stepLanes<Codec, false>(kernels, l, count, n); });
            EXPECT_TRUE(warm.output == Bytes(input.size(), 0xAA)) << "a warm-up wrote";
            warm.output = reference.output;
            expectSame(reference, warm, "warm-up");
        }
    }
}

TEST_P(FilterLanesOnKernel, MatchScalarLanesForEightBits) {
    CHOOSE_FILTER_KERNEL_OR_SKIP(GetParam());
    // Around the rounds of every kernel: 16 and 32 steps.
    for (std::uint64_t steps : {0, 15, 16, 17, 31, 32, 33, 63, 64, 65, 4099}) {
        compareWithScalarLanes<SampleCodec<1>>(steps);
    }
}

TEST_P(FilterLanesOnKernel, MatchScalarLanesForSixteenBits) {
    CHOOSE_FILTER_KERNEL_OR_SKIP(GetParam());
    // Around the rounds of every kernel: 8 and 16 steps.
    for (std::uint64_t steps : {0, 7, 8, 9, 15, 16, 17, 31, 32, 33, 4099}) {
        compareWithScalarLanes<SampleCodec<2>>(steps);
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, FilterLanesOnKernel,
                         ::testing::Values(FilterKernel::sse2, FilterKernel::avx2, FilterKernel::avx512),
                         [](const ::testing::TestParamInfo<FilterKernel>& kernel) {
                             return enginetest::kernelTestName(kernel.param);
                         });

}  // namespace
}  // namespace engine::detail
