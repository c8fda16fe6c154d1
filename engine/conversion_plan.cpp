#include "engine/conversion_plan.h"

#include <algorithm>
#include <numeric>

#include "engine/dc_filter.h"
#include "engine/filter_kernel.h"

namespace engine {

namespace {

constexpr std::uint64_t pageBytes = 4096;

}  // namespace

ChunkLayout::ChunkLayout(std::uint64_t size, std::uint64_t sampleBytes) : size_(size), sampleBytes_(sampleBytes) {
    // A multiple of both the sample and the page (3-byte samples: 12 KiB).
    const std::uint64_t step = std::lcm(sampleBytes, pageBytes);
    chunkBytes_ = maxChunkBytes / step * step;
    count_ = std::max<std::uint64_t>(1, (size + chunkBytes_ - 1) / chunkBytes_);
}

ConversionPlan planConversion(std::uint64_t size, const ConversionSettings& settings) {
    ConversionPlan plan;
    plan.bitDepth = settings.bitDepth;
    plan.filtered =
        settings.dcFilter && settings.encoding == SampleEncoding::pcm && isFilteredBitDepth(settings.bitDepth);
    plan.reading = size <= wholeInputBytes ? ConversionPlan::Reading::whole
                   : plan.filtered         ? ConversionPlan::Reading::mapped
                                           : ConversionPlan::Reading::copied;
    plan.chunks = ChunkLayout(size, plan.filtered ? settings.bitDepth / 8 : 1);
    if (plan.filtered) plan.kernels = detail::laneKernelsFor(filterKernelInUse());
    return plan;
}

}  // namespace engine
