#include "engine/dc_filter.h"

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

}  // namespace engine
