#pragma once
// The 44 bytes in front of every output: RIFF header, a 16-byte "fmt " chunk
// and the header of the "data" chunk that runs to the end of the file.

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/conversion_settings.h"

namespace engine {

struct WavHeader {
    std::uint32_t riffSize;      // dataSize + 36: the bytes after this field
    std::uint32_t fmtChunkSize;  // 16
    std::uint16_t formatTag;     // 3 (IEEE float) for 32 bits, else 1 (PCM); 7 u-law, 6 A-law
    std::uint16_t channels;
    std::uint32_t sampleRate;
    std::uint32_t byteRate;
    std::uint16_t blockAlign;
    std::uint16_t bitsPerSample;
    std::uint32_t dataSize;
};

inline constexpr std::size_t wavHeaderSize = 44;

// The largest data chunk the 32-bit RIFF size can describe: dataSize + 36
// must not wrap.
inline constexpr std::uint64_t maxWavDataSize = 0xFFFFFFFFull - 36;

// Computes the header for dataSize bytes of data. Never fails; values are
// taken as they come (sizes and products wrap as 32-bit unsigned numbers).
WavHeader writeWavHeader(std::uint32_t dataSize, std::int32_t sampleRateHz, std::uint16_t bitDepth,
                         std::uint16_t numberOfChannels);

// The same for samples of an encoding: u-law and A-law are 8 bits whatever
// bitDepth says, with their own format tags (7 and 6).
WavHeader writeWavHeader(std::uint32_t dataSize, std::int32_t sampleRateHz, std::uint16_t bitDepth,
                         std::uint16_t numberOfChannels, SampleEncoding encoding);

// The header's bytes in file order, every field little-endian.
std::array<std::uint8_t, wavHeaderSize> wavHeaderBytes(const WavHeader& header);

}  // namespace engine
