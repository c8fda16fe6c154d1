#pragma once
// The DC filter, exact to the bit and faster than its one sequential chain.
//
// Each output waits on the previous one, so a single chain runs at the
// latency of a multiply and an add per sample. Here the samples are split
// into segments whose chains run at once (several interleaved in each
// thread, the threads of the worker pool side by side). A segment's chain
// starts from a guess: the filter run from rest over the samples before it.
// The filter forgets its past geometrically, so the guess soon equals the
// exact state bit for bit, and from the first sample where the two agree the
// guessed outputs are the exact ones. A sequential pass then walks each
// segment from the exact end of the one before until the states agree,
// rewriting the outputs up to there, and takes the segment's guessed end
// state from there on; where they never agree it is simply the sequential
// walk over the whole segment.
//
// Guessing needs no exact state, so the next ranges can be guessed on the
// pool while the caller writes out the one before.

#include <cstdint>
#include <memory>

#include "engine/dc_filter.h"

namespace runtime {
class ParallelSeries;
}  // namespace runtime

namespace engine {

namespace detail {
struct LaneKernels;
}  // namespace detail

// The sizes the fast filter works with, exposed so tests can hit every edge.
struct FastFilterLimits {
    // A chain forgets a difference in its state by the coefficient (0.995)
    // per sample: after 8,192 samples all but 2^-59 of it, below the last
    // bit of all but outputs near zero, which the settling pass mends.
    static constexpr std::uint64_t warmUpSamples = 8192;
    static constexpr std::uint64_t checkpointInterval = 512;
    static constexpr std::uint64_t minSegmentSamples = 65536;
    static constexpr int chainsPerThread = 16;
    // A range reads at most this many samples before its first one, and all
    // samples from the stream's first when it begins closer to it.
    static constexpr std::uint64_t historySamples = warmUpSamples + 1;
    // The first sample a range beginning at first reads.
    static constexpr std::uint64_t historyStart(std::uint64_t first) {
        return first > historySamples ? first - historySamples : 0;
    }
};

// Filters one stream of samples, range after range.
class FastDcFilter {
public:
    // Filters samples of bitDepth bits (8, 16, 24 or 32; any other raises
    // runtime::InternalError) on kernels; every range brings its window of
    // the stream, and the workers of series guess them: filters sharing one
    // series keep their ranges in flight at once on no more threads than
    // it has.
    FastDcFilter(std::uint16_t bitDepth, runtime::ParallelSeries& series, const detail::LaneKernels& kernels);
    // Waits for a range still being guessed, dropping its outputs.
    ~FastDcFilter();
    FastDcFilter(const FastDcFilter&) = delete;
    FastDcFilter& operator=(const FastDcFilter&) = delete;

    // Starts filtering the whole samples [first, first + count) into
    // destination (count samples), reading the samples from window, whose
    // first byte is that of sample windowFirst; it must hold every sample
    // from FastFilterLimits::historyStart(first) to the range's last, and
    // stay unchanged until finish() returns. Returns at once: the series'
    // workers do the work. One range at a time: finish() it before the next
    // start(), which otherwise raises runtime::InternalError.
    void start(const std::uint8_t* window, std::uint64_t windowFirst, std::uint64_t first, std::uint64_t count,
               std::uint8_t* destination);

    // Completes the range started last, given the exact state before its
    // first sample, and returns the exact state after its last. The outputs
    // are then exactly what filterSamplesSequentially writes.
    DcFilterState finish(DcFilterState exactStart);

    class Range;

private:
    std::unique_ptr<Range> range_;
};

}  // namespace engine
