// The BMP writer: the file a reader expects, from either pixel layout.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/bmp_file.h"

namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& f, std::size_t at) {
    return f[at] | (f[at + 1] << 8) | (f[at + 2] << 16) | (static_cast<std::uint32_t>(f[at + 3]) << 24);
}

TEST(BmpFile, BothLayoutsGiveTheSameFileWithAReadableHeader) {
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {4, 3}, {5, 7}}) {
        std::vector<std::uint8_t> rgb, rows(bmp::rowStride24(width) * height, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::uint8_t r = std::uint8_t(10 * x + y), g = std::uint8_t(100 + y), b = std::uint8_t(200 - x);
                rgb.insert(rgb.end(), {r, g, b});
                std::uint8_t* px = &rows[bmp::rowStride24(width) * (height - 1 - y) + x * 3];
                px[0] = b, px[1] = g, px[2] = r;
            }
        const auto fromRgb = bmp::file24FromRgb(width, height, rgb);
        EXPECT_EQ(fromRgb, bmp::file24(width, height, rows.data())) << width << "x" << height;
        ASSERT_EQ(fromRgb.size(), 54 + rows.size());
        EXPECT_EQ(fromRgb[0], 'B');
        EXPECT_EQ(fromRgb[1], 'M');
        EXPECT_EQ(le32(fromRgb, 2), fromRgb.size());
        EXPECT_EQ(le32(fromRgb, 10), 54u);
        EXPECT_EQ(le32(fromRgb, 18), std::uint32_t(width));
        EXPECT_EQ(le32(fromRgb, 22), std::uint32_t(height));
        EXPECT_EQ(fromRgb[28], 24);
        EXPECT_EQ(le32(fromRgb, 34), rows.size());
    }
}

TEST(BmpFile, SizesThatDoNotFitGiveNoFile) {
    const std::vector<std::uint8_t> six(6, 0);
    EXPECT_TRUE(bmp::file24FromRgb(0, 2, six).empty());
    EXPECT_TRUE(bmp::file24FromRgb(1, 1, six).empty()) << "too many pixels";
    EXPECT_TRUE(bmp::file24FromRgb(2, 2, six).empty()) << "too few pixels";
    EXPECT_TRUE(bmp::file24(-1, 1, six.data()).empty());
    EXPECT_TRUE(bmp::file24(70000, 70000, six.data()).empty());
    EXPECT_TRUE(bmp::file24(1, 1, nullptr).empty());
}

}  // namespace
