#pragma once
// Runs a test on one filter kernel. A kernel the processor lacks is skipped
// by name, never passed in silence.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "engine/filter_kernel.h"

namespace engine {

// Test names and failures show the kernel's name.
inline void PrintTo(FilterKernel kernel, std::ostream* out) { *out << filterKernelName(kernel); }

}  // namespace engine

namespace enginetest {

// Chooses the kernel for as long as it lives, then the widest again.
class KernelChoice {
public:
    explicit KernelChoice(engine::FilterKernel kernel) {
        if (engine::processorRunsFilterKernel(kernel)) {
            engine::useFilterKernel(kernel);
            chosen_ = true;
        }
    }
    ~KernelChoice() { engine::useFilterKernel(engine::FilterKernel::best); }
    KernelChoice(const KernelChoice&) = delete;
    KernelChoice& operator=(const KernelChoice&) = delete;

    bool chosen() const { return chosen_; }

private:
    bool chosen_ = false;
};

inline std::string kernelTestName(engine::FilterKernel kernel) {
    std::string name(engine::filterKernelName(kernel));
    std::erase(name, '-');
    return name;
}

}  // namespace enginetest

// Chooses the kernel for the rest of the test, or skips the test naming the
// kernel.
#define CHOOSE_FILTER_KERNEL_OR_SKIP(kernel)               \
    const ::enginetest::KernelChoice kernelChoice(kernel); \
    if (!kernelChoice.chosen())                            \
    GTEST_SKIP() << "the " << ::engine::filterKernelName(kernel) << " filter kernel: this processor lacks it"
