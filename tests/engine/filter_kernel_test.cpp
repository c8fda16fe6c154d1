// The kernel switch: a kernel the processor runs is taken, any other is
// refused by name and changes nothing.
#include "engine/filter_kernel.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/errors.h"

namespace engine {
namespace {

TEST(FilterKernelChoice, TakesWhatTheProcessorRunsAndRefusesTheRest) {
    const FilterKernel widest = filterKernelInUse();
    EXPECT_NE(widest, FilterKernel::best);
    for (FilterKernel kernel :
         {FilterKernel::sequential, FilterKernel::sse2, FilterKernel::avx2, FilterKernel::avx512}) {
        const std::string name(filterKernelName(kernel));
        if (processorRunsFilterKernel(kernel)) {
            EXPECT_LE(kernel, widest) << name;
            useFilterKernel(kernel);
            EXPECT_EQ(filterKernelInUse(), kernel) << name;
        } else {
            EXPECT_GT(kernel, widest) << name;
            useFilterKernel(FilterKernel::sequential);
            try {
                useFilterKernel(kernel);
                ADD_FAILURE() << name << " was taken";
            } catch (const runtime::ValueError& error) {
                EXPECT_EQ(std::string(error.what()), "This processor cannot run the " + name + " filter kernel");
            }
            EXPECT_EQ(filterKernelInUse(), FilterKernel::sequential) << name;
        }
    }
    useFilterKernel(FilterKernel::best);
    EXPECT_EQ(filterKernelInUse(), widest);
}

}  // namespace
}  // namespace engine
