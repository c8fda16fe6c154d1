// The Windows build links every executable with -municode, which makes wmain
// the entry point; gtest_main only offers main. Tests start from here there.

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
