#include <gtest/gtest.h>

#include <algorithm>

#include "renderer/crt_rand.h"

namespace {

// The first values of the classic C runtime generator from its unseeded
// state, as every program built with that runtime has drawn them.
TEST(CrtRand, FirstValuesFromStateOneAreTheRuntimeSequence) {
    fulmina::setRandState(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) EXPECT_EQ(fulmina::rand(), value);
}

TEST(CrtRand, ValuesCoverExactlyZeroTo32767) {
    fulmina::setRandState(0xFFFFFFFFu);
    int lowest = 32767, highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const int v = fulmina::rand();
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 32767);
}

}  // namespace
