// The fast filter against the plain sequential reference, byte for byte.
#include "engine/fast_dc_filter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/dc_filter.h"
#include "engine/filter_kernel.h"
#include "engine/filter_lanes.h"
#include "runtime/errors.h"
#include "runtime/worker_pool.h"
#include "tests/engine/kernel_choice.h"

namespace engine {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Limits = FastFilterLimits;

enum class Pattern { random, constant, allOnes, alternating, randomThenConstant };

std::string nameOf(Pattern pattern) {
    switch (pattern) {
        case Pattern::random:
            return "random";
        case Pattern::constant:
            return "constant";
        case Pattern::allOnes:
            return "all-0xFF";
        case Pattern::alternating:
            return "alternating extremes";
        case Pattern::randomThenConstant:
            return "random then constant";
    }
    return "?";
}

Bytes makeInput(Pattern pattern, std::size_t size, int sampleBytes) {
    Bytes bytes(size);
    std::mt19937 generator(static_cast<unsigned>(size));
    for (std::size_t i = 0; i < size; ++i) {
        switch (pattern) {
            case Pattern::random:
                bytes[i] = static_cast<std::uint8_t>(generator());
                break;
            case Pattern::constant:
                bytes[i] = 0x80;
                break;
            case Pattern::allOnes:
                bytes[i] = 0xFF;
                break;
            case Pattern::alternating:
                bytes[i] = (i / sampleBytes) % 2 ? 0xFF : 0x00;
                break;
            case Pattern::randomThenConstant:
                bytes[i] = i < size / 3 ? static_cast<std::uint8_t>(generator()) : 0x5A;
                break;
        }
    }
    return bytes;
}

Bytes reference(const Bytes& input, std::uint16_t bitDepth) {
    Bytes output(input.size());
    applyDcFilter(output.data(), input.data(), static_cast<std::int64_t>(input.size()), bitDepth);
    return output;
}

// The fast filter over the whole input in ranges of rangeSamples, with the
// trailing partial sample copied as the converter does.
Bytes fast(const Bytes& input, std::uint16_t bitDepth, std::uint64_t rangeSamples, runtime::WorkerPool* pool) {
    const std::uint64_t sampleBytes = bitDepth / 8;
    const std::uint64_t samples = input.size() / sampleBytes;
    Bytes output(input.size(), 0xAA);
    // No pool: no helper, the calling thread does all the work.
    runtime::ParallelSeries series(pool ? *pool : runtime::sharedWorkerPool(), pool ? pool->threadCount() : 0);
    FastDcFilter filter(bitDepth, series, detail::laneKernelsFor(filterKernelInUse()));
    DcFilterState state;
    for (std::uint64_t first = 0; first < samples; first += rangeSamples) {
        const std::uint64_t count = std::min(rangeSamples, samples - first);
        filter.start(input.data(), 0, first, count, output.data() + first * sampleBytes);
        state = filter.finish(state);
    }
    std::copy(input.begin() + static_cast<std::ptrdiff_t>(samples * sampleBytes), input.end(),
              output.begin() + static_cast<std::ptrdiff_t>(samples * sampleBytes));
    return output;
}

// The first differing byte, for a readable failure.
std::string firstDifference(const Bytes& expected, const Bytes& actual) {
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] != actual[i]) return "first difference at byte " + std::to_string(i);
    }
    return "same";
}

// Every kernel at every bit depth (at 24 and 32 bits the kernels differ only
// in whether the chains run at all).
class FastFilterExactness : public ::testing::TestWithParam<std::tuple<FilterKernel, std::uint16_t>> {
protected:
    FilterKernel kernel() const { return std::get<0>(GetParam()); }
    std::uint16_t bits() const { return std::get<1>(GetParam()); }
};

TEST_P(FastFilterExactness, MatchesTheReferenceAroundEveryBoundary) {
    CHOOSE_FILTER_KERNEL_OR_SKIP(kernel());
    const std::uint16_t bits = this->bits();
    const std::uint64_t width = bits / 8;
    const std::uint64_t segment = Limits::minSegmentSamples;
    // Sample counts around the checkpoint interval, the warm-up, the
    // smallest split into segments and the split into all segments.
    const std::vector<std::uint64_t> sampleCounts = {0,
                                                     1,
                                                     Limits::checkpointInterval - 1,
                                                     Limits::checkpointInterval + 1,
                                                     Limits::warmUpSamples + 1,
                                                     2 * segment - 1,
                                                     2 * segment,
                                                     2 * segment + 1,
                                                     3 * segment + 7,
                                                     16 * segment - 1,
                                                     24 * segment + 513};
    runtime::WorkerPool pool(2);
    for (Pattern pattern :
         {Pattern::random, Pattern::constant, Pattern::allOnes, Pattern::alternating, Pattern::randomThenConstant}) {
        for (std::uint64_t samples : sampleCounts) {
            // A trailing partial sample only changes the copied tail.
            std::vector<std::uint64_t> extras = {0};
            if (width > 1 && samples < 2 * segment) extras.push_back(width - 1);
            for (std::uint64_t extra : extras) {
                const Bytes input = makeInput(pattern, samples * width + extra, static_cast<int>(width));
                const Bytes expected = reference(input, bits);
                const Bytes withPool = fast(input, bits, UINT64_MAX, &pool);
                ASSERT_TRUE(withPool == expected) << nameOf(pattern) << ", " << samples << " samples + " << extra
                                                  << " bytes: " << firstDifference(expected, withPool);
                const Bytes alone = fast(input, bits, UINT64_MAX, nullptr);
                ASSERT_TRUE(alone == expected)
                    << nameOf(pattern) << ", " << samples << " samples, no pool: " << firstDifference(expected, alone);
            }
        }
    }
}

TEST_P(FastFilterExactness, RangesContinueExactlyFromOneToTheNext) {
    CHOOSE_FILTER_KERNEL_OR_SKIP(kernel());
    const std::uint16_t bits = this->bits();
    runtime::WorkerPool pool(3);
    for (Pattern pattern : {Pattern::random, Pattern::randomThenConstant}) {
        const Bytes input = makeInput(pattern, 1'300'001, bits / 8);
        const Bytes expected = reference(input, bits);
        for (std::uint64_t range :
             {Limits::minSegmentSamples * 2 + 3, Limits::minSegmentSamples * 5, std::uint64_t{100'000}}) {
            const Bytes actual = fast(input, bits, range, &pool);
            ASSERT_TRUE(actual == expected)
                << nameOf(pattern) << ", ranges of " << range << ": " << firstDifference(expected, actual);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(KernelsAndBitDepths, FastFilterExactness,
                         ::testing::Combine(::testing::Values(FilterKernel::sequential, FilterKernel::sse2,
                                                              FilterKernel::avx2, FilterKernel::avx512),
                                            ::testing::Values<std::uint16_t>(8, 16, 24, 32)),
                         [](const ::testing::TestParamInfo<FastFilterExactness::ParamType>& test) {
                             return enginetest::kernelTestName(std::get<0>(test.param)) + "_" +
                                    std::to_string(std::get<1>(test.param)) + "bits";
                         });

TEST(FastFilter, SequentialWalkerMatchesTheReferenceAcrossRestingRuns) {
    // Long runs of one value drive the state to its rest; the walker then
    // writes them without arithmetic and must still agree to the bit.
    Bytes input;
    std::mt19937 generator(9);
    for (int run = 0; run < 6; ++run) {
        for (int i = 0; i < 1000; ++i) input.push_back(static_cast<std::uint8_t>(generator()));
        input.insert(input.end(), 200'000 + run * 777, static_cast<std::uint8_t>(run * 40));
    }
    for (std::uint16_t bits : {8, 16, 24, 32}) {
        const std::uint64_t width = bits / 8;
        const std::uint64_t samples = input.size() / width;
        Bytes expected = reference(input, bits);
        Bytes actual(input.size());
        DcFilterState state;
        filterSamplesSequentially(actual.data(), input.data(), samples, bits, state);
        expected.resize(samples * width);
        actual.resize(samples * width);
        ASSERT_TRUE(actual == expected) << bits << " bits: " << firstDifference(expected, actual);
    }
}

TEST(FastFilter, ABitDepthWithoutAFilterIsRefused) {
    runtime::ParallelSeries series(runtime::sharedWorkerPool(), 0);
    EXPECT_THROW(FastDcFilter(12, series, detail::LaneKernels{}), runtime::InternalError);
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

TEST(FastFilter, ARangeStartedBeforeTheOneBeforeIsFinishedIsRefused) {
    const std::vector<std::uint8_t> input(1 << 20, 7);
    std::vector<std::uint8_t> output(input.size());
    runtime::ParallelSeries series(runtime::sharedWorkerPool(), 1);
    FastDcFilter filter(8, series, detail::LaneKernels{});
    filter.start(input.data(), 0, 0, input.size() / 2, output.data());
    EXPECT_THROW(filter.start(input.data(), 0, input.size() / 2, input.size() / 2, output.data() + input.size() / 2),
                 runtime::InternalError);
    filter.finish(DcFilterState{});
}

}  // namespace
}  // namespace engine
