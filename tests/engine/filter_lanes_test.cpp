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

// Count lanes over consecutive stretches of input, from varied states.
template <class Codec, int Count = 8, class Advance>
Run runLanes(const Bytes& input, std::uint64_t steps, Advance advance) {
    Run run{Bytes(input.size(), 0xAA), {}};
    Lane lanes[Count];
    const std::uint64_t stretch = steps * Codec::size;
    for (int k = 0; k < Count; ++k) {
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
    for (std::size_t k = 0; k < expected.states.size(); ++k) {
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

// Count scalar lanes, eight at a time.
template <class Codec, bool Write, int Count>
void scalarLanes(Lane* lanes, std::uint64_t steps) {
    for (int k = 0; k < Count; k += 8) stepLanes<Codec, Write, 8>(lanes + k, steps);
}

// A kernel of Count lanes that runs whole rounds (the scalar lanes finish),
// writing and as a warm-up, against the scalar lanes.
template <class Codec, int Count, class Kernel>
void compareKernel(const Bytes& input, std::uint64_t steps, const char* name, Kernel kernel) {
    const Run scalar = runLanes<Codec, Count>(input, steps, scalarLanes<Codec, true, Count>);
    const Run written = runLanes<Codec, Count>(
        input, steps, [&](Lane* l, std::uint64_t n) { scalarLanes<Codec, true, Count>(l, n - kernel(l, n, true)); });
    expectSame(scalar, written, name);
    // A warm-up moves the states exactly as a writing run does.
    const Run warm = runLanes<Codec, Count>(
        input, steps, [&](Lane* l, std::uint64_t n) { scalarLanes<Codec, false, Count>(l, n - kernel(l, n, false)); });
    EXPECT_TRUE(warm.output == Bytes(input.size(), 0xAA)) << name;
    for (int k = 0; k < Count; ++k) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(warm.states[k].yPrev),
                  std::bit_cast<std::uint64_t>(scalar.states[k].yPrev))
            << name << " lane " << k;
        EXPECT_EQ(warm.states[k].xPrev, scalar.states[k].xPrev) << name << " lane " << k;
    }
}

template <class Codec>
void compareKernels(std::uint64_t steps) {
    constexpr int size = Codec::size;
    for (int pattern = 0; pattern < 3; ++pattern) {
        const Bytes input = testInput(16 * steps * size, pattern);
        for (int count : {8, 11, 16}) {
            const Run reference = runLanes<Codec, 16>(input, steps, [count](Lane* l, std::uint64_t n) {
                for (int k = 0; k < count; ++k) stepLanes<Codec, true, 1>(l + k, n);
            });
            const Run best = runLanes<Codec, 16>(
                input, steps, [count](Lane* l, std::uint64_t n) { stepLanes<Codec, true>(l, count, n); });
            expectSame(reference, best, "dispatched");
        }
#ifdef QUENMARL_FILTER_SSE2
        compareKernel<Codec, 8>(input, steps, "SSE2", [](Lane* l, std::uint64_t n, bool write) {
            if (write) return size == 1 ? sse2::stepEightLanes8<true>(l, n) : sse2::stepEightLanes16<true>(l, n);
            return size == 1 ? sse2::stepEightLanes8<false>(l, n) : sse2::stepEightLanes16<false>(l, n);
        });
#endif
#ifdef QUENMARL_FILTER_AVX2
        if (avx2::available()) {
            compareKernel<Codec, 8>(input, steps, "AVX2", [](Lane* l, std::uint64_t n, bool write) {
                return size == 1 ? avx2::stepEightLanes8(l, n, write) : avx2::stepEightLanes16(l, n, write);
            });
        }
#endif
#ifdef QUENMARL_FILTER_AVX512
        if (avx512::available()) {
            compareKernel<Codec, 16>(input, steps, "AVX-512", [](Lane* l, std::uint64_t n, bool write) {
                return size == 1 ? avx512::stepSixteenLanes8(l, n, write) : avx512::stepSixteenLanes16(l, n, write);
            });
        }
#endif
    }
}

TEST(FilterLanes, VectorKernelsMatchTheScalarLanesForEightBits) {
    for (std::uint64_t steps : {0, 15, 16, 17, 63, 64, 65, 4099}) compareKernels<SampleCodec<1>>(steps);
}

TEST(FilterLanes, VectorKernelsMatchTheScalarLanesForSixteenBits) {
    for (std::uint64_t steps : {0, 7, 8, 9, 31, 32, 33, 4099}) compareKernels<SampleCodec<2>>(steps);
}

}  // namespace
}  // namespace engine::detail
