#include "engine/fast_dc_filter.h"

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

#include "engine/filter_kernel.h"
#include "engine/filter_lanes.h"
#include "runtime/errors.h"
#include "runtime/worker_pool.h"

namespace engine {

using Limits = FastFilterLimits;
using detail::Lane;
static_assert(Limits::chainsPerThread <= detail::maxLanes);

namespace {

// What guessing leaves for settling, per segment.
struct Segment {
    struct Checkpoint {
        std::uint64_t at;  // the guessed state before this sample
        double yPrev;
    };
    std::uint64_t begin = 0;  // sample index in the stream
    std::uint64_t end = 0;
    std::vector<Checkpoint> checkpoints;  // from begin to end, in order
    DcFilterState guessedEnd;
};

// Chains whose streams lie a power of two apart fight for the same cache
// sets and run several times slower. A length that is an odd multiple of 64
// samples puts every chain's stream on cache lines of its own.
std::uint64_t staggeredLength(std::uint64_t length) {
    length = length / 64 * 64;
    return (length / 64) % 2 == 0 ? length - 64 : length;
}

bool sameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

}  // namespace

// One range of the stream: its segments, the job guessing them, and the
// settling pass.
class FastDcFilter::Range {
public:
    virtual ~Range() = default;
    virtual void start(const std::uint8_t* window, std::uint64_t windowFirst, std::uint64_t first, std::uint64_t count,
                       std::uint8_t* destination) = 0;
    virtual DcFilterState finish(DcFilterState exactStart) = 0;
};

namespace {

template <class Codec>
class CodecRange final : public FastDcFilter::Range {
public:
    CodecRange(runtime::ParallelSeries& series, const detail::LaneKernels& kernels)
        : series_(series), kernels_(kernels) {}

    void start(const std::uint8_t* window, std::uint64_t windowFirst, std::uint64_t first, std::uint64_t count,
               std::uint8_t* destination) override {
        // The pool may still be writing the segments of the range before.
        if (started_) throw runtime::InternalError("a filter range was started before the one before was finished");
        started_ = true;
        window_ = window;
        windowFirst_ = windowFirst;
        first_ = first;
        count_ = count;
        destination_ = destination;
        // Split for the series' threads: its helpers, and the caller, who
        // takes a share too when it comes to finish the range.
        const unsigned threads = series_.threads();
        const std::uint64_t wanted = std::uint64_t{threads} * Limits::chainsPerThread;
        const std::uint64_t segmentCount = std::min(wanted, count / Limits::minSegmentSamples);
        segments_.clear();
        // Too short to pay, or the plain sequential filter chosen: finish()
        // runs it sequentially.
        if (segmentCount <= 1 || !kernels_.chains) return;

        segments_.resize(segmentCount);
        const std::uint64_t length = staggeredLength(count / segmentCount);
        for (std::uint64_t j = 0; j < segmentCount; ++j) {
            segments_[j].begin = first + j * length;
            segments_[j].end = j + 1 == segmentCount ? first + count : segments_[j].begin + length;
        }
        const std::uint64_t groups = (segmentCount + Limits::chainsPerThread - 1) / Limits::chainsPerThread;
        auto guess = [this](std::size_t group) {
            const std::size_t from = group * Limits::chainsPerThread;
            const std::size_t to = std::min<std::size_t>(from + Limits::chainsPerThread, segments_.size());
            guessGroup(segments_.data() + from, static_cast<int>(to - from));
        };
        job_ = series_.start(groups, guess);
    }

    DcFilterState finish(DcFilterState exact) override {
        started_ = false;
        if (segments_.empty()) {
            filterSamplesSequentially(destination_, sample(first_), count_, Codec::size * 8, exact);
            return exact;
        }
        job_.wait();
        for (const Segment& segment : segments_) exact = settle(segment, exact);
        return exact;
    }

private:
    // Runs the chains of a group of segments side by side, each from a
    // guessed state: the filter from rest over the samples before it, or the
    // exact start of the stream when those are fewer than a warm-up.
    void guessGroup(Segment* segments, int count) const {
        Lane lanes[Limits::chainsPerThread];
        int warming[Limits::chainsPerThread];
        int warmingCount = 0;
        for (int k = 0; k < count; ++k) {
            const std::uint64_t begin = segments[k].begin;
            if (begin > Limits::warmUpSamples) {
                const std::uint64_t warmBegin = begin - Limits::warmUpSamples;
                lanes[k].source = sample(warmBegin);
                lanes[k].state = {static_cast<double>(Codec::read(sample(warmBegin - 1))), 0.0};
                warming[warmingCount++] = k;
            } else {
                lanes[k].source = sample(0);
                lanes[k].state = DcFilterState{};
                detail::advanceLanes<Codec, false>(kernels_, &lanes[k], 1, begin);
            }
        }
        if (warmingCount == count) {
            detail::advanceLanes<Codec, false>(kernels_, lanes, count, Limits::warmUpSamples);
        } else {
            for (int w = 0; w < warmingCount; ++w) {
                detail::advanceLanes<Codec, false>(kernels_, &lanes[warming[w]], 1, Limits::warmUpSamples);
            }
        }

        const std::uint64_t length = segments[0].end - segments[0].begin;  // all but the last are this long
        for (int k = 0; k < count; ++k) {
            lanes[k].destination = destination_ + (segments[k].begin - first_) * Codec::size;
            segments[k].checkpoints.clear();
            segments[k].checkpoints.reserve(length / Limits::checkpointInterval + 2);
            segments[k].checkpoints.push_back({segments[k].begin, lanes[k].state.yPrev});
        }
        std::uint64_t done = 0;
        while (done < length) {
            const std::uint64_t steps = std::min(Limits::checkpointInterval, length - done);
            detail::advanceLanes<Codec, true>(kernels_, lanes, count, steps);
            done += steps;
            for (int k = 0; k < count; ++k) {
                segments[k].checkpoints.push_back({segments[k].begin + done, lanes[k].state.yPrev});
            }
        }
        // Only the range's last segment can be longer; it finishes alone.
        Lane& last = lanes[count - 1];
        Segment& lastSegment = segments[count - 1];
        for (std::uint64_t at = lastSegment.begin + done; at < lastSegment.end;) {
            const std::uint64_t steps = std::min(Limits::checkpointInterval, lastSegment.end - at);
            detail::advanceLanes<Codec, true>(kernels_, &last, 1, steps);
            at += steps;
            lastSegment.checkpoints.push_back({at, last.state.yPrev});
        }
        for (int k = 0; k < count; ++k) segments[k].guessedEnd = lanes[k].state;
    }

    // Walks the segment from the exact state at its beginning until that
    // state equals the guessed one at a checkpoint, rewriting the outputs on
    // the way. Returns the exact state at the segment's end.
    DcFilterState settle(const Segment& segment, DcFilterState exact) const {
        std::uint64_t at = segment.begin;
        for (const Segment::Checkpoint& checkpoint : segment.checkpoints) {
            filterSamplesSequentially(destination_ + (at - first_) * Codec::size, sample(at), checkpoint.at - at,
                                      Codec::size * 8, exact);
            at = checkpoint.at;
            if (sameBits(exact.yPrev, checkpoint.yPrev)) return segment.guessedEnd;
        }
        return exact;  // never agreed: the walk covered the whole segment
    }

    // Where sample i of the stream is: in the window of the range.
    const std::uint8_t* sample(std::uint64_t i) const { return window_ + (i - windowFirst_) * Codec::size; }

    const std::uint8_t* window_ = nullptr;
    std::uint64_t windowFirst_ = 0;
    runtime::ParallelSeries& series_;
    const detail::LaneKernels kernels_;
    std::uint64_t first_ = 0;
    std::uint64_t count_ = 0;
    std::uint8_t* destination_ = nullptr;
    std::vector<Segment> segments_;
    bool started_ = false;
    runtime::ParallelJob job_;  // last: dropped first, it waits for the pool
};

std::unique_ptr<FastDcFilter::Range> makeRange(std::uint16_t bitDepth, runtime::ParallelSeries& series,
                                               const detail::LaneKernels& kernels) {
    std::unique_ptr<FastDcFilter::Range> range;
    detail::withSampleCodec(
        bitDepth, [&](auto codec) { range = std::make_unique<CodecRange<decltype(codec)>>(series, kernels); });
    return range;
}

}  // namespace

FastDcFilter::FastDcFilter(std::uint16_t bitDepth, runtime::ParallelSeries& series, const detail::LaneKernels& kernels)
    : range_(makeRange(bitDepth, series, kernels)) {
    if (!range_) throw runtime::InternalError("no filter for " + std::to_string(bitDepth) + "-bit samples");
}

FastDcFilter::~FastDcFilter() = default;

void FastDcFilter::start(const std::uint8_t* window, std::uint64_t windowFirst, std::uint64_t first,
                         std::uint64_t count, std::uint8_t* destination) {
    range_->start(window, windowFirst, first, count, destination);
}

DcFilterState FastDcFilter::finish(DcFilterState exactStart) { return range_->finish(exactStart); }

}  // namespace engine
