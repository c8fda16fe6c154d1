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
void filterSideBySide(std::span<const FilterStream> streams) {
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
            detail::advanceLanes<Codec, true>(lanes, count, steps);
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
    return bitDepth == 8 || bitDepth == 16 || bitDepth == 24 || bitDepth == 32;
}

void filterSamplesSequentially(std::uint8_t* destination, const std::uint8_t* source, std::uint64_t sampleCount,
                               std::uint16_t bitDepth, DcFilterState& state) {
    detail::Lane lane{source, destination, state};
    switch (bitDepth) {
        case 8:
            detail::advanceLanes<detail::SampleCodec<1>, true>(&lane, 1, sampleCount);
            break;
        case 16:
            detail::advanceLanes<detail::SampleCodec<2>, true>(&lane, 1, sampleCount);
            break;
        case 24:
            detail::advanceLanes<detail::SampleCodec<3>, true>(&lane, 1, sampleCount);
            break;
        case 32:
            detail::advanceLanes<detail::SampleCodec<4>, true>(&lane, 1, sampleCount);
            break;
        default:
            return;
    }
    state = lane.state;
}

void applyDcFilter(std::uint8_t* destination, const std::uint8_t* source, std::int64_t byteCount,
                   std::uint16_t bitDepth) {
    if (byteCount <= 0) return;
    const auto bytes = static_cast<std::uint64_t>(byteCount);
    std::uint64_t filtered = 0;
    if (isFilteredBitDepth(bitDepth)) {
        const std::uint64_t sampleBytes = bitDepth / 8;
        const std::uint64_t samples = bytes / sampleBytes;
        DcFilterState state;
        switch (bitDepth) {
            case 8:
                runSequentially<detail::SampleCodec<1>>(destination, source, samples, state);
                break;
            case 16:
                runSequentially<detail::SampleCodec<2>>(destination, source, samples, state);
                break;
            case 24:
                runSequentially<detail::SampleCodec<3>>(destination, source, samples, state);
                break;
            default:
                runSequentially<detail::SampleCodec<4>>(destination, source, samples, state);
                break;
        }
        filtered = samples * sampleBytes;
    }
    // What the filter does not set is the input's own bytes, never whatever
    // the buffer held before.
    std::memcpy(destination + filtered, source + filtered, bytes - filtered);
}

void filterStreamsSideBySide(std::span<const FilterStream> streams, std::uint16_t bitDepth) {
    switch (bitDepth) {
        case 8:
            return filterSideBySide<detail::SampleCodec<1>>(streams);
        case 16:
            return filterSideBySide<detail::SampleCodec<2>>(streams);
        case 24:
            return filterSideBySide<detail::SampleCodec<3>>(streams);
        case 32:
            return filterSideBySide<detail::SampleCodec<4>>(streams);
        default:
            return;
    }
}

}  // namespace engine
