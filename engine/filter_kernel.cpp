#include "engine/filter_kernel.h"

#include <atomic>
#include <string>

#include "engine/filter_lanes.h"
#include "engine/filter_lanes_avx2.h"
#include "engine/filter_lanes_avx512.h"
#include "engine/filter_lanes_sse2.h"
#include "runtime/errors.h"

namespace engine {

namespace {

FilterKernel widestKernel() {
#ifdef QUENMARL_FILTER_AVX512
    if (detail::avx512::available()) return FilterKernel::avx512;
#endif
#ifdef QUENMARL_FILTER_AVX2
    if (detail::avx2::available()) return FilterKernel::avx2;
#endif
#ifdef QUENMARL_FILTER_SSE2
    return FilterKernel::sse2;
#else
    return FilterKernel::sequential;
#endif
}

// The one process-wide setting of the filter: conversions run on the shared
// worker pool and have no other way to be told. It starts at the widest
// kernel and only benchmarks and tests ever change it.
std::atomic<FilterKernel>& chosenKernel() {
    static std::atomic<FilterKernel> chosen{widestKernel()};
    return chosen;
}

}  // namespace

std::string_view filterKernelName(FilterKernel kernel) {
    switch (kernel) {
        case FilterKernel::sequential:
            return "sequential";
        case FilterKernel::sse2:
            return "SSE2";
        case FilterKernel::avx2:
            return "AVX2";
        case FilterKernel::avx512:
            return "AVX-512";
        case FilterKernel::best:
            return "best";
    }
    return "unknown";
}

bool processorRunsFilterKernel(FilterKernel kernel) { return kernel == FilterKernel::best || kernel <= widestKernel(); }

void useFilterKernel(FilterKernel kernel) {
    if (!processorRunsFilterKernel(kernel)) {
        throw runtime::ValueError("This processor cannot run the " + std::string(filterKernelName(kernel)) +
                                  " filter kernel");
    }
    chosenKernel().store(kernel == FilterKernel::best ? widestKernel() : kernel, std::memory_order_relaxed);
}

FilterKernel filterKernelInUse() { return chosenKernel().load(std::memory_order_relaxed); }

namespace detail {

LaneKernels laneKernelsFor(FilterKernel kernel) {
    LaneKernels kernels;
    kernels.chains = kernel != FilterKernel::sequential;
#ifdef QUENMARL_FILTER_SSE2
    if (kernel >= FilterKernel::sse2) {
        kernels.eight8 = [](Lane* lanes, std::uint64_t steps, bool write) {
            return write ? sse2::stepEightLanes8<true>(lanes, steps) : sse2::stepEightLanes8<false>(lanes, steps);
        };
        kernels.eight16 = [](Lane* lanes, std::uint64_t steps, bool write) {
            return write ? sse2::stepEightLanes16<true>(lanes, steps) : sse2::stepEightLanes16<false>(lanes, steps);
        };
    }
#endif
#ifdef QUENMARL_FILTER_AVX2
    if (kernel >= FilterKernel::avx2) {
        kernels.eight8 = avx2::stepEightLanes8;
        kernels.eight16 = avx2::stepEightLanes16;
        kernels.sixteen8 = avx2::stepSixteenLanes8;
        kernels.sixteen16 = avx2::stepSixteenLanes16;
    }
#endif
#ifdef QUENMARL_FILTER_AVX512
    if (kernel >= FilterKernel::avx512) {
        kernels.sixteen8 = avx512::stepSixteenLanes8;
        kernels.sixteen16 = avx512::stepSixteenLanes16;
    }
#endif
    return kernels;
}

}  // namespace detail

}  // namespace engine
