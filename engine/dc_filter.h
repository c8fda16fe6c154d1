#pragma once
// The DC-blocking filter: a one-pole high-pass followed by a fixed gain,
//   y = (x - xPrev) + 0.995 * yPrev,   written value = trunc(0.4 * y),
// over the input read as unsigned little-endian samples of 8, 16, 24 or 32
// bits, one state for the whole stream (channels are not told apart). The
// written value is stored as the low bits of its two's complement at the
// sample's own position.

#include <cstdint>
#include <span>

namespace engine {

inline constexpr double dcFilterCoefficient = 0.995;
inline constexpr double dcFilterGain = 0.4;

// The filter's memory between two samples.
struct DcFilterState {
    double xPrev = 0.0;
    double yPrev = 0.0;
};

// True for the bit depths the filter processes (8, 16, 24 and 32).
bool isFilteredBitDepth(std::uint16_t bitDepth);

// The reference filter: one plain sequential pass over byteCount bytes from
// a fresh state, one sample after the other. Bytes that form no whole sample, and every byte for another bit
// depth, are copied from the source unchanged. Cannot fail.
void applyDcFilter(std::uint8_t* destination, const std::uint8_t* source, std::int64_t byteCount,
                   std::uint16_t bitDepth);

// The same outputs over sampleCount whole samples, continuing from and
// updating the given state, with runs of equal samples at the filter's rest
// written without arithmetic. bitDepth must be one of the filtered depths.
void filterSamplesSequentially(std::uint8_t* destination, const std::uint8_t* source, std::uint64_t sampleCount,
                               std::uint16_t bitDepth, DcFilterState& state);

// One stream of samples for filterStreamsSideBySide. The destination may be
// the source itself: each sample is read before its output is written.
struct FilterStream {
    const std::uint8_t* source;
    std::uint8_t* destination;
    std::uint64_t samples;
};

namespace detail {
struct LaneKernels;
}  // namespace detail

// Filters each stream from rest, exactly as filterSamplesSequentially
// would, with the chains of several streams advanced side by side on the
// kernels given: a short stream alone waits on its one chain, and a stream
// shorter than the fast filter's warm-up cannot be split. bitDepth as
// there.
void filterStreamsSideBySide(std::span<const FilterStream> streams, std::uint16_t bitDepth,
                             const detail::LaneKernels& kernels);

}  // namespace engine
