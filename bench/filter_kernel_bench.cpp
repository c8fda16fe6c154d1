// The filter kernels' own speed on one thread, in nanoseconds a sample: the
// sixteen chains one worker runs (for the sequential filter, its one chain)
// over random samples, writing outputs or only moving the states as a
// warm-up does. Kernels the processor lacks are left out.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/filter_kernel.h"
#include "engine/filter_lanes.h"

namespace {

using engine::FilterKernel;
using engine::detail::Lane;

// A worker's share of the converter's 2 MiB chunk of 8-bit samples: 16
// chains of about 65,536 samples each (two threads share 32 segments). Odd
// multiples of 64 samples apart, as the fast filter places them.
constexpr std::uint64_t chainSamples = 65'536 / 64 * 64 - 64 * ((65'536 / 64) % 2 == 0);
constexpr int chains = 16;

template <class Codec, bool Write>
void runKernel(benchmark::State& state, FilterKernel kernel) {
    const std::uint64_t total = chainSamples * chains;
    std::vector<std::uint8_t> input(total * Codec::size);
    std::vector<std::uint8_t> output(input.size());
    std::mt19937 generator(1);
    for (auto& byte : input) byte = static_cast<std::uint8_t>(generator());
    const engine::detail::LaneKernels kernels = engine::detail::laneKernelsFor(kernel);
    for (auto _ : state) {
        if (!kernels.chains) {
            Lane lane{input.data(), output.data(), {}};
            engine::detail::advanceLanes<Codec, Write>(kernels, &lane, 1, total);
            benchmark::DoNotOptimize(lane.state);
        } else {
            Lane lanes[chains];
            for (int k = 0; k < chains; ++k) {
                lanes[k].source = input.data() + k * chainSamples * Codec::size;
                lanes[k].destination = output.data() + k * chainSamples * Codec::size;
            }
            engine::detail::advanceLanes<Codec, Write>(kernels, lanes, chains, chainSamples);
            benchmark::DoNotOptimize(lanes[0].state);
        }
        benchmark::ClobberMemory();
    }
    // Time per sample, printed with an SI prefix ("460p" is 0.46 ns).
    state.counters["s/sample"] = benchmark::Counter(
        static_cast<double>(total), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <class Codec, bool Write>
void registerKernel(FilterKernel kernel, const char* what) {
    const std::string name = std::string(engine::filterKernelName(kernel)) + "/" + what;
    benchmark::RegisterBenchmark(name.c_str(), [kernel](benchmark::State& s) { runKernel<Codec, Write>(s, kernel); })
        ->Unit(benchmark::kMillisecond)
        // Other work on the machine only ever slows a run down.
        ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

}  // namespace

int main(int argc, char** argv) {
    using engine::detail::SampleCodec;
    for (FilterKernel kernel :
         {FilterKernel::avx512, FilterKernel::avx2, FilterKernel::sse2, FilterKernel::sequential}) {
        if (!engine::processorRunsFilterKernel(kernel)) continue;
        registerKernel<SampleCodec<1>, true>(kernel, "8 bits write");
        registerKernel<SampleCodec<1>, false>(kernel, "8 bits warm-up");
        registerKernel<SampleCodec<2>, true>(kernel, "16 bits write");
        registerKernel<SampleCodec<2>, false>(kernel, "16 bits warm-up");
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
