#pragma once

#include <cstdint>

namespace engine {

// How the samples are stored: PCM numbers, or the 8-bit codes of G.711
// u-law or A-law, whose bytes go out unchanged (the DC filter is for PCM).
enum class SampleEncoding { pcm, ulaw, alaw };

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
    // Not one of the six: PCM unless asked otherwise, so that every earlier
    // output stays as it was.
    SampleEncoding encoding = SampleEncoding::pcm;
};

}  // namespace engine
