#pragma once
// How one file is converted, decided once from its size and the settings
// before a byte moves: whether it is filtered, on which kernels, how its
// bytes are had, and how they are cut into chunks.

#include <cstdint>

#include "engine/conversion_settings.h"
#include "engine/filter_lanes.h"

namespace engine {

// The input cut into chunks of whole samples; the last chunk also holds the
// partial sample at the end, if any. The one place that cuts an input.
class ChunkLayout {
public:
    // Chunks of at most maxChunkBytes that start on a sample (sampleBytes 1
    // for bytes going out unchanged) and, where the sample size allows, on a
    // page of the output, so that the system copies whole aligned pages.
    ChunkLayout(std::uint64_t size, std::uint64_t sampleBytes);

    // The largest chunk: the buffers a conversion needs hold this much.
    // Small enough that a chunk mostly stays in the processor's cache from
    // the filter writing it to the system copying it out: chunks of 8 MiB
    // made a conversion about a tenth slower.
    static constexpr std::uint64_t maxChunkBytes = std::uint64_t{2} << 20;

    std::uint64_t size() const { return size_; }
    std::uint64_t count() const { return count_; }
    std::uint64_t chunkBytes() const { return chunkBytes_; }

    std::uint64_t begin(std::uint64_t chunk) const { return chunk * chunkBytes_; }
    std::uint64_t end(std::uint64_t chunk) const { return chunk + 1 == count_ ? size_ : begin(chunk + 1); }
    std::uint64_t length(std::uint64_t chunk) const { return end(chunk) - begin(chunk); }

    // The chunk's whole samples: the first one's index, and how many.
    std::uint64_t firstSample(std::uint64_t chunk) const { return begin(chunk) / sampleBytes_; }
    std::uint64_t samples(std::uint64_t chunk) const { return length(chunk) / sampleBytes_; }

private:
    std::uint64_t size_;
    std::uint64_t sampleBytes_;
    std::uint64_t chunkBytes_;
    std::uint64_t count_;
};

struct ConversionPlan {
    // How the input's bytes are had.
    enum class Reading {
        whole,   // small: read at once when the conversion is readied
        mapped,  // filtered in place, chunk by chunk, in the file's mapping
        copied,  // unchanged: read chunk by chunk into the output's buffers
    };

    std::uint16_t bitDepth = 8;
    bool filtered = false;  // the DC filter runs (on, PCM, and a depth it takes)
    Reading reading = Reading::whole;
    ChunkLayout chunks{0, 1};
    detail::LaneKernels kernels;  // resolved from the kernel in use when planned
};

// Inputs up to this size are read whole when readied: mapping and
// unmapping cost more than reading them.
inline constexpr std::uint64_t wholeInputBytes = std::uint64_t{256} << 10;

// The plan for an input of size bytes converted with settings.
ConversionPlan planConversion(std::uint64_t size, const ConversionSettings& settings);

}  // namespace engine
