// The control's arithmetic: Stretch sizes with halves rounded to even, DIB
// row lengths, mirroring in place, and the area disposal 3 saves.
#include <gtest/gtest.h>

#include <vector>

#include "controls/gif/gif_layout.h"

namespace {

using namespace fulmina::gif;

TEST(GifLayout, StretchModesAndHalvesToEven) {
    struct Case {
        long width, height;
        int mode;
        Fit expected;
    } cases[] = {
        {100, 100, 0, {40, 30, 1, 1}},  {30, 100, 0, {30, 30, 1, 1}},   {100, 100, 1, {100, 75, 2.5f, 2.5f}},
        {10, 100, 1, {10, 8, 0.25f, 0.25f}},  // 7.5 rounds to 8
        {100, 50, 2, {100, 50, 2.5f, 50.0f / 30}}, {100, 100, 3, {40, 30, 1, 1}},
        {20, 100, 3, {20, 15, 0.5f, 0.5f}},    {1, 1, 4, {40, 30, 1, 1}},
    };
    for (const Case& c : cases) {
        const Fit f = fitToControl(c.width, c.height, static_cast<FitMode>(c.mode), 40, 30);
        EXPECT_EQ(f.width, c.expected.width) << c.mode << " " << c.width;
        EXPECT_EQ(f.height, c.expected.height) << c.mode << " " << c.width;
        EXPECT_FLOAT_EQ(f.scaleX, c.expected.scaleX);
        EXPECT_FLOAT_EQ(f.scaleY, c.expected.scaleY);
    }
    EXPECT_EQ(fitToControl(10, 100, FitMode::proportional, 4, 3).height, 8) << "7.5: to the even 8";
    EXPECT_EQ(fitToControl(13, 100, FitMode::proportional, 26, 5).height, 2) << "2.5: to the even 2";
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
}

TEST(GifLayout, RowsArePaddedToThirtyTwoBits) {
    EXPECT_EQ(rowStride(8, 5), 8);
    EXPECT_EQ(rowStride(24, 5), 16);
    EXPECT_EQ(rowStride(1, 33), 8);
    EXPECT_EQ(rowStride(1, 32), 4);
}

TEST(GifLayout, MirroringFlipsARectangleOrAWholeMaskInPlace) {
    // A 4 x 3 bottom-up 8-bit image, pixel value 10 * row + column (row 0 at the top).
    std::vector<std::uint8_t> bits(8 * 3);
    const Pixels image{bits.data(), 8, 3};
    for (long y = 0; y < 3; ++y)
        for (long x = 0; x < 4; ++x) image.row(y)[x] = static_cast<std::uint8_t>(10 * y + x);
    mirrorBytes(image, 1, 1, 0, 3, 2, true, true);  // columns 1..3 of the top two rows
    EXPECT_EQ(std::vector<int>(image.row(0), image.row(0) + 4), (std::vector<int>{0, 13, 12, 11}));
    EXPECT_EQ(std::vector<int>(image.row(1), image.row(1) + 4), (std::vector<int>{10, 3, 2, 1}));
    EXPECT_EQ(std::vector<int>(image.row(2), image.row(2) + 4), (std::vector<int>{20, 21, 22, 23}));
    // A 10-pixel-wide mask: bit 0 of the top row moves to bit 9 of the bottom row.
    std::vector<std::uint8_t> mask(4 * 2, 0);
    const Pixels m{mask.data(), 4, 2};
    m.row(0)[0] = 0x80;
    mirrorBits(m, 10, true, true);
    EXPECT_EQ(m.row(0)[0], 0);
    EXPECT_EQ(m.row(1)[1], 0x40);
}

TEST(GifLayout, TheWholeAreaUnderAFrameComesBackAsItWas) {
    // Frames that start inside a mask byte and end past the bytes their
    // width alone would take.
    struct Case {
        long left, width;
    } cases[] = {{5, 9}, {3, 30}, {7, 26}, {0, 32}, {1, 47}, {79, 1}};
    for (const Case& k : cases) {
        std::vector<std::uint8_t> colour(rowStride(24, 80) * 10), mask(rowStride(1, 80) * 10);
        for (std::size_t i = 0; i < colour.size(); ++i) colour[i] = static_cast<std::uint8_t>(i * 7);
        for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = static_cast<std::uint8_t>(i * 13 + 1);
        const Pixels c{colour.data(), rowStride(24, 80), 10}, m{mask.data(), rowStride(1, 80), 10};
        const auto before = colour, maskBefore = mask;
        SavedArea saved;
        saveArea(c, &m, k.left, 2, k.width, 6, saved);
        for (long y = 2; y < 8; ++y) {
            std::fill(c.row(y) + k.left * 3, c.row(y) + (k.left + k.width) * 3, 0xAB);
            for (long x = k.left; x < k.left + k.width; ++x) m.row(y)[x >> 3] ^= static_cast<std::uint8_t>(0x80 >> (x & 7));
        }
        restoreArea(c, &m, k.left, 2, k.width, 6, saved);
        EXPECT_EQ(colour, before) << k.left << " " << k.width;
        EXPECT_EQ(mask, maskBefore) << k.left << " " << k.width;
    }
}

}  // namespace
