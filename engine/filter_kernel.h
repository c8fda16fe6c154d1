#pragma once
// Which vector kernel the DC filter runs on. The widest one the processor
// has is chosen at run time; benchmarks and tests can restrict the choice to
// measure or check a narrower one on the same machine. Every kernel writes
// the same bytes: only the speed differs.

#include <string_view>

namespace engine {

// Ordered from the narrowest: a restriction to one kernel allows it and
// every narrower one (the fast filter still needs them for lanes the wider
// kernel does not cover).
enum class FilterKernel {
    sequential,  // the plain sequential filter, one chain, no worker threads
    sse2,
    avx2,
    avx512,
    best,  // the widest kernel the processor runs (the default)
};

// The kernel's name as benchmarks print it: "sequential", "SSE2", "AVX2",
// "AVX-512" or "best".
std::string_view filterKernelName(FilterKernel kernel);

// True when this build and this processor can run the kernel (always for
// sequential and best).
bool processorRunsFilterKernel(FilterKernel kernel);

// Restricts the filter of every later conversion in this process to the
// kernel (best lifts the restriction). Raises runtime::ValueError, naming
// the kernel, when the processor cannot run it; the choice then stays as it
// was.
void useFilterKernel(FilterKernel kernel);

// The kernel the filter runs on now: the one chosen, or for best the widest
// the processor runs. Never best.
FilterKernel filterKernelInUse();

}  // namespace engine
