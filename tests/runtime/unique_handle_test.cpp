// The move-only handle owner: every handle it owns is closed exactly once,
// whichever way ownership moves.
#include "runtime/unique_handle.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

// A handle is the address of a counter of how often it was closed.
struct CountingTraits {
    using Handle = int*;
    static int* invalid() noexcept { return nullptr; }
    static void close(int* handle) noexcept { ++*handle; }
};

using Owner = runtime::UniqueHandle<CountingTraits>;

static_assert(!std::is_copy_constructible_v<Owner> && !std::is_copy_assignable_v<Owner>);

TEST(UniqueHandle, MovesHandOverAndTheLastOwnerClosesOnce) {
    int first = 0, second = 0;
    {
        Owner a(&first), b(&second);
        Owner c(std::move(a));
        EXPECT_FALSE(a);
        b = std::move(c);  // b's own handle goes
        EXPECT_EQ(second, 1);
        Owner& self = b;
        b = std::move(self);
        EXPECT_EQ(first, 0);
    }
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

TEST(UniqueHandle, ResetClosesTheOldHandleAndReleaseClosesNothing) {
    int first = 0, second = 0;
    Owner owner(&first);
    owner.reset(&second);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(owner.release(), &second);
    EXPECT_FALSE(owner);
    owner.reset();
    EXPECT_EQ(second, 0);
}

}  // namespace
