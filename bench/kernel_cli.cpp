// quenmarl-cli with its filter restricted to one kernel, so that the
// benchmark can time each kernel through the same conversion code. Not part
// of the product: users choose no kernel.
//   kernel-cli KERNEL QUENMARL-CLI-ARGUMENTS...
// KERNEL is sequential, sse2, avx2, avx512 or best. A kernel the processor
// cannot run is refused (exit status 2) rather than replaced by another.
#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/cli_run.h"
#include "engine/filter_kernel.h"
#include "runtime/errors.h"

namespace {

bool kernelNamed(const std::string& name, engine::FilterKernel& kernel) {
    using engine::FilterKernel;
    for (FilterKernel k :
         {FilterKernel::sequential, FilterKernel::sse2, FilterKernel::avx2, FilterKernel::avx512, FilterKernel::best}) {
        std::string lower;
        for (char c : engine::filterKernelName(k)) {
            if (c != '-') lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        if (lower == name) {
            kernel = k;
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    engine::FilterKernel kernel{};
    if (argc < 2 || !kernelNamed(argv[1], kernel)) {
        std::fprintf(stderr, "usage: kernel-cli sequential|sse2|avx2|avx512|best QUENMARL-CLI-ARGUMENTS...\n");
        return 2;
    }
    try {
        engine::useFilterKernel(kernel);
    } catch (const runtime::ValueError& error) {
        std::fprintf(stderr, "kernel-cli: %s\n", error.what());
        return 2;
    }
    return app::runCli(std::vector<std::string>(argv + 2, argv + argc));
}
