#include "engine/dc_filter.h"

#include <algorithm>
#include <cstring>

#include "engine/filter_lanes.h"
#include "engine/sample_codec.h"

namespace engine {

namespace {

template <class Codec>
void runSequentially(std::uint8_t* destination, const std::uint8_t* source, std::uint64_t sampleCount,
                     DcFilterState& state) {
    double xPrev = state.xPrev;
    double yPrev = state.yPrev;
    for (std::uint64_t i = 0; i < sampleCount; ++i) {
        const double x = Codec::read(source);
        const double y = (x - xPrev) + dcFilterCoefficient * yPrev;
        Codec::write(destination, static_cast<std::int32_t>(dcFilterGain * y));
        xPrev = x;
        yPrev = y;
        source += Codec::size;
        destination += Codec::size;
    }
    state = {xPrev, yPrev};
}

// Up to maxLanes streams at once; a stream that ends leaves the others
// going with fewer lanes.
template <class Codec>
void filterSideBySide(std::span<const FilterStream> streams, const detail::LaneKernels& kernels) {
    for (std::size_t begin = 0; begin < streams.size(); begin += detail::maxLanes) {
        const std::size_t end = std::min(streams.size(), begin + detail::maxLanes);
        detail::Lane lanes[detail::maxLanes];
        std::uint64_t left[detail::maxLanes];
        int count = 0;
        for (std::size_t i = begin; i < end; ++i) {
            if (streams[i].samples == 0) continue;
            lanes[count] = {streams[i].source, streams[i].destination, {}};
            left[count++] = streams[i].samples;
        }
        while (count > 0) {
            const std::uint64_t steps = *std::min_element(left, left + count);
            detail::advanceLanes<Codec, true>(kernels, lanes, count, steps);
            int going = 0;
            for (int k = 0; k < count; ++k) {
                if (left[k] == steps) continue;
                lanes[going] = lanes[k];
                left[going++] = left[k] - steps;
            }
            count = going;
        }
    }
}

}  // namespace

bool isFilteredBitDepth(std::uint16_t bitDepth) {
    return detail::withSampleCodec(bitDepth, [](auto) {});
}

void filterSamplesSequentially(std::uint8_t* destination, const std::uint8_t* source, std::uint64_t sampleCount,
                               std::uint16_t bitDepth, DcFilterState& state) {
    detail::withSampleCodec(bitDepth, [&](auto codec) {
        // One chain: no vector kernel takes part.
        detail::Lane lane{source, destination, state};
        detail::advanceLanes<decltype(codec), true>(detail::LaneKernels{}, &lane, 1, sampleCount);
        state = lane.state;
    });
}

void applyDcFilter(std::uint8_t* destination, const std::uint8_t* source, std::int64_t byteCount,
                   std::uint16_t bitDepth) {
    if (byteCount <= 0) return;
    const auto bytes = static_cast<std::uint64_t>(byteCount);
    std::uint64_t filtered = 0;
    detail::withSampleCodec(bitDepth, [&](auto codec) {
        using Codec = decltype(codec);
        const std::uint64_t samples = bytes / Codec::size;
        DcFilterState state;
        runSequentially<Codec>(destination, source, samples, state);
        filtered = samples * Codec::size;
    });
    // What the filter does not set is the input's own bytes, never whatever
    // the buffer held before.
    std::memcpy(destination + filtered, source + filtered, bytes - filtered);
}

void filterStreamsSideBySide(std::span<const FilterStream> streams, std::uint16_t bitDepth,
                             const detail::LaneKernels& kernels) {
    detail::withSampleCodec(bitDepth, [&](auto codec) {
        using Codec = decltype(codec);
        if (kernels.chains) return filterSideBySide<Codec>(streams, kernels);
        // The plain sequential filter: each stream on its own.
        for (const FilterStream& stream : streams) {
            DcFilterState state;
            runSequentially<Codec>(stream.destination, stream.source, stream.samples, state);
        }
    });
}

}  // namespace engine
