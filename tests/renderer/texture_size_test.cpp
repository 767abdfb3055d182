#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "renderer/texture_size.h"

namespace {

using fulmina::powerOfTwoSide;

TEST(TextureSize, SidesRoundToTheNearestPowerOfTwoOnALogScale) {
    const int max = 4096;
    EXPECT_EQ(powerOfTwoSide(128, max), 128);
    EXPECT_EQ(powerOfTwoSide(724, max), 512);
    EXPECT_EQ(powerOfTwoSide(725, max), 1024);
    EXPECT_EQ(powerOfTwoSide(768, max), 1024);
    EXPECT_EQ(powerOfTwoSide(1, max), 1);
    EXPECT_EQ(powerOfTwoSide(3, max), 4);
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(powerOfTwoSide(1 << n, max), 1 << n);
}

TEST(TextureSize, ASideAboveTheLargestTextureIsRoundedFromTheLargest) {
    EXPECT_EQ(powerOfTwoSide(5000, 4096), 4096);
    EXPECT_EQ(powerOfTwoSide(100000, 2048), 2048);
    EXPECT_EQ(powerOfTwoSide(16385, 16384), 16384);
}

TEST(TextureSize, APictureWithoutPixelsHasNoTextureSide) {
    EXPECT_EQ(powerOfTwoSide(0, 4096), 0);
    EXPECT_EQ(powerOfTwoSide(-5, 4096), 0);
}

TEST(TextureSize, PixelsSwapBlueAndRedAndBecomeOpaque) {
    std::vector<std::uint8_t> px = {1, 2, 3, 0, 10, 20, 30, 40};
    fulmina::bgrxToRgba(px.data(), 2);
    EXPECT_EQ(px, (std::vector<std::uint8_t>{3, 2, 1, 255, 30, 20, 10, 255}));
}

}  // namespace
