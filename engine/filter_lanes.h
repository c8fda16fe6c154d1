#pragma once
// Several independent chains of the DC filter advanced side by side, so that
// their multiply-add latencies overlap in the processor.
//
// A chain fed the same sample over and over decays into subnormal numbers,
// where every multiply costs a hundred cycles, and then stops at a fixed
// point. From there nothing changes until the input does, so runs of equal
// samples at a fixed point are written out without arithmetic.

#include <bit>
#include <cstdint>

#include "engine/dc_filter.h"
#include "engine/filter_kernel.h"
#include "engine/sample_codec.h"

namespace engine::detail {

// One chain of the filter: where it reads, where it writes, and its state.
struct Lane {
    const std::uint8_t* source = nullptr;
    std::uint8_t* destination = nullptr;
    DcFilterState state;
};

// The most lanes advanced side by side.
inline constexpr int maxLanes = 16;

// Samples a lane advances between two looks at whether it is at rest.
inline constexpr std::uint64_t restBlockSamples = 512;

// Advances N lanes by the same number of samples. Without Write only the
// states move (a warm-up). Each lane computes exactly what the sequential
// filter computes.
template <class Codec, bool Write, int N>
void stepLanes(Lane* lanes, std::uint64_t steps) {
    double xPrev[N], yPrev[N];
    const std::uint8_t* source[N];
    std::uint8_t* destination[N];
    for (int k = 0; k < N; ++k) {
        xPrev[k] = lanes[k].state.xPrev;
        yPrev[k] = lanes[k].state.yPrev;
        source[k] = lanes[k].source;
        destination[k] = lanes[k].destination;
    }
    for (std::uint64_t i = 0; i < steps; ++i) {
        const std::uint64_t at = i * Codec::size;
#pragma GCC unroll 8
        for (int k = 0; k < N; ++k) {
            const double x = Codec::read(source[k] + at);
            const double y = (x - xPrev[k]) + dcFilterCoefficient * yPrev[k];
            if constexpr (Write) Codec::write(destination[k] + at, static_cast<std::int32_t>(dcFilterGain * y));
            xPrev[k] = x;
            yPrev[k] = y;
        }
    }
    const std::uint64_t advanced = steps * Codec::size;
    for (int k = 0; k < N; ++k) {
        lanes[k].state = {xPrev[k], yPrev[k]};
        lanes[k].source += advanced;
        if constexpr (Write) lanes[k].destination += advanced;
    }
}

// The vector steps a filter runs on, resolved once from a FilterKernel and
// handed down to every call: each advances eight or sixteen lanes of 1- or
// 2-byte samples by whole rounds and returns the steps done. A null step is
// none for that shape: the scalar code below does the work.
struct LaneKernels {
    using Step = std::uint64_t (*)(Lane* lanes, std::uint64_t steps, bool write);
    Step eight8 = nullptr;
    Step eight16 = nullptr;
    Step sixteen8 = nullptr;
    Step sixteen16 = nullptr;
    // False for the plain sequential filter: one chain at a time, nothing
    // side by side.
    bool chains = true;

    template <int SampleSize>
    Step eight() const {
        return SampleSize == 1 ? eight8 : SampleSize == 2 ? eight16 : nullptr;
    }
    template <int SampleSize>
    Step sixteen() const {
        return SampleSize == 1 ? sixteen8 : SampleSize == 2 ? sixteen16 : nullptr;
    }
};

// The steps of the kernel (never FilterKernel::best; see filterKernelInUse).
LaneKernels laneKernelsFor(FilterKernel kernel);

// The same for a count of lanes known only at run time (1 to maxLanes).
template <class Codec, bool Write>
void stepLanes(const LaneKernels& kernels, Lane* lanes, int count, std::uint64_t steps) {
    if (count > 8) {
        if (const LaneKernels::Step sixteen = kernels.sixteen<Codec::size>(); count == 16 && sixteen) {
            steps -= sixteen(lanes, steps, Write);
        }
        stepLanes<Codec, Write>(kernels, lanes, 8, steps);
        stepLanes<Codec, Write>(kernels, lanes + 8, count - 8, steps);
        return;
    }
    // Eight lanes of 8 or 16 bits go through a vector kernel; it leaves
    // fewer than one round for the scalar code below.
    if (const LaneKernels::Step eight = kernels.eight<Codec::size>(); count == 8 && eight) {
        steps -= eight(lanes, steps, Write);
    }
    switch (count) {
        case 1:
            return stepLanes<Codec, Write, 1>(lanes, steps);
        case 2:
            return stepLanes<Codec, Write, 2>(lanes, steps);
        case 3:
            return stepLanes<Codec, Write, 3>(lanes, steps);
        case 4:
            return stepLanes<Codec, Write, 4>(lanes, steps);
        case 5:
            return stepLanes<Codec, Write, 5>(lanes, steps);
        case 6:
            return stepLanes<Codec, Write, 6>(lanes, steps);
        case 7:
            return stepLanes<Codec, Write, 7>(lanes, steps);
        case 8:
            return stepLanes<Codec, Write, 8>(lanes, steps);
        default:
            return;
    }
}

// True when the next steps samples all equal the lane's previous sample and
// one such sample leaves the state exactly as it is: then they all give the
// same output and the state does not move.
template <class Codec>
bool restsFor(const Lane& lane, std::uint64_t steps) {
    const DcFilterState& s = lane.state;
    const double next = (s.xPrev - s.xPrev) + dcFilterCoefficient * s.yPrev;
    if (std::bit_cast<std::uint64_t>(next) != std::bit_cast<std::uint64_t>(s.yPrev)) return false;
    for (std::uint64_t i = 0; i < steps; ++i) {
        if (Codec::read(lane.source + i * Codec::size) != s.xPrev) return false;
    }
    return true;
}

template <class Codec, bool Write>
void rest(Lane& lane, std::uint64_t steps) {
    if constexpr (Write) {
        const auto value = static_cast<std::int32_t>(dcFilterGain * lane.state.yPrev);
        for (std::uint64_t i = 0; i < steps; ++i) Codec::write(lane.destination + i * Codec::size, value);
        lane.destination += steps * Codec::size;
    }
    lane.source += steps * Codec::size;
}

// Advances up to maxLanes lanes by steps samples, block by block; a lane at rest
// over a whole block skips the arithmetic for it.
template <class Codec, bool Write>
void advanceLanes(const LaneKernels& kernels, Lane* lanes, int count, std::uint64_t steps) {
    while (steps > 0) {
        const std::uint64_t block = steps < restBlockSamples ? steps : restBlockSamples;
        Lane busy[maxLanes];
        int busyIndex[maxLanes];
        int busyCount = 0;
        for (int k = 0; k < count; ++k) {
            if (restsFor<Codec>(lanes[k], block)) {
                rest<Codec, Write>(lanes[k], block);
            } else {
                busyIndex[busyCount] = k;
                busy[busyCount++] = lanes[k];
            }
        }
        if (busyCount == count) {
            stepLanes<Codec, Write>(kernels, lanes, count, block);
        } else if (busyCount > 0) {
            stepLanes<Codec, Write>(kernels, busy, busyCount, block);
            for (int b = 0; b < busyCount; ++b) lanes[busyIndex[b]] = busy[b];
        }
        steps -= block;
    }
}

}  // namespace engine::detail
