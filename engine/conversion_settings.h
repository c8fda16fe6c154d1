#pragma once

#include <cstdint>

namespace engine {

// The six values of one conversion, in the order convertPath takes them after
// the input and output paths. Built afresh for each conversion; no value is
// validated or clamped.
struct ConversionSettings {
    std::uint16_t bitDepth = 8;
    std::uint16_t numberOfChannels = 1;
    std::int32_t sampleRateHz = 44100;
    double maxFilesSizeMb = 5000.0;
    double maxFileSizeMb = 4096.0;
    bool dcFilter = true;
};

}  // namespace engine
