// The generated pictures against their descriptions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "assets/button_skins.h"
#include "assets/glow_picture.h"
#include "assets/settings_pictures.h"
#include "controls/gif/gif_stream.h"
#include "assets/preview_picture.h"

namespace {

using namespace fulmina::assets;

struct Ring {
    double r = 0, g = 0, b = 0;
    int minGreen = 255, maxGreen = 0, minBlue = 255, maxBlue = 0;
};

// Colours averaged over a circle of the glow picture.
Ring ring(const std::vector<std::uint8_t>& rgb, double radius) {
    Ring out;
    int n = 0;
    for (int k = 0; k < 720; ++k) {
        const double a = k * M_PI / 360;
        const int x = static_cast<int>(std::floor(64 + radius * std::cos(a)));
        const int y = static_cast<int>(std::floor(64 + radius * std::sin(a)));
        if (x < 0 || y < 0 || x >= glowSide || y >= glowSide) continue;
        const std::uint8_t* px = &rgb[(static_cast<size_t>(y) * glowSide + x) * 3];
        out.r += px[0];
        out.g += px[1];
        out.b += px[2];
        out.minGreen = std::min<int>(out.minGreen, px[1]);
        out.maxGreen = std::max<int>(out.maxGreen, px[1]);
        out.minBlue = std::min<int>(out.minBlue, px[2]);
        out.maxBlue = std::max<int>(out.maxBlue, px[2]);
        ++n;
    }
    out.r /= n;
    out.g /= n;
    out.b /= n;
    return out;
}

TEST(GlowPicture, FollowsTheRadialColourProfile) {
    const auto rgb = makeGlowPicture();
    ASSERT_EQ(rgb.size(), static_cast<size_t>(glowSide) * glowSide * 3);
    struct Expect {
        double distance, r, g, b;
    };
    const Expect table[] = {{5, 255, 255, 255}, {12, 242, 255, 254}, {16, 185, 246, 255}, {20, 101, 206, 245},
                            {24, 38, 155, 222}, {28, 10, 108, 188},  {32, 2, 78, 157},    {40, 1, 45, 106},
                            {48, 1, 23, 57},    {56, 1, 10, 24}};
    for (const Expect& e : table) {
        const Ring got = ring(rgb, e.distance);
        EXPECT_NEAR(got.r, e.r, 10) << "red at " << e.distance;
        EXPECT_NEAR(got.g, e.g, 10) << "green at " << e.distance;
        EXPECT_NEAR(got.b, e.b, 10) << "blue at " << e.distance;
    }
}

TEST(GlowPicture, IsUnevenAndBlackBeyondItsRadius) {
    const auto rgb = makeGlowPicture();
    const Ring at32 = ring(rgb, 32);
    EXPECT_GT(at32.maxGreen - at32.minGreen, 35) << "the glow is too round";
    EXPECT_GT(at32.maxBlue - at32.minBlue, 35);
    EXPECT_LT(at32.maxGreen, 130);
    for (int y = 0; y < glowSide; ++y)
        for (int x = 0; x < glowSide; ++x)
            if (std::hypot(x + 0.5 - 64, y + 0.5 - 64) > 64) {
                const std::uint8_t* px = &rgb[(static_cast<size_t>(y) * glowSide + x) * 3];
                ASSERT_EQ(px[0] + px[1] + px[2], 0) << x << "," << y;
            }
}

TEST(PreviewPicture, IsAGlowOnDarkBlueWithVioletWhiteStrokes) {
    const auto rgb = makePreviewPicture();
    ASSERT_EQ(rgb.size(), static_cast<size_t>(previewWidth) * previewHeight * 3);
    auto at = [&](int x, int y) { return &rgb[(static_cast<size_t>(y) * previewWidth + x) * 3]; };
    const std::uint8_t* centre = at(previewWidth / 2, previewHeight / 2);
    EXPECT_GT(centre[0] + centre[1] + centre[2], 700) << "no bright glow in the middle";
    int darkBlue = 0, strokes = 0;
    for (int y = 0; y < previewHeight; ++y)
        for (int x = 0; x < previewWidth; ++x) {
            const std::uint8_t* px = at(x, y);
            darkBlue += px[2] > px[0] + 20 && px[2] < 90 && px[0] < 20;
            strokes += px[0] > 80 && px[2] > 100 && px[0] > px[1];  // violet-white: red above green
        }
    const int all = previewWidth * previewHeight;
    EXPECT_GT(darkBlue, all / 2) << "the background is not dark blue";
    EXPECT_GT(strokes, 300) << "no lightning strokes";
    EXPECT_LT(strokes, all / 5);
}

TEST(ButtonSkins, SixDistinctFramesThatStretchAlongTheirEdgesAroundAnUnusedInside) {
    std::vector<std::vector<std::uint8_t>> skins;
    for (int i = 0; i < skinCount; ++i) skins.push_back(makeSkinPicture(i));
    auto at = [](const std::vector<std::uint8_t>& rgb, int x, int y) {
        const std::uint8_t* p = &rgb[(static_cast<size_t>(y) * skinWidth + x) * 3];
        return (p[0] << 16) | (p[1] << 8) | p[2];
    };
    const int inside = (skinInside[0] << 16) | (skinInside[1] << 8) | skinInside[2];
    for (int i = 0; i < skinCount; ++i) {
        const auto& s = skins[i];
        ASSERT_EQ(s.size(), static_cast<size_t>(skinWidth) * skinHeight * 3);
        for (int d = 0; d < skinBorder; ++d) {
            // Along each edge the frame is one colour per depth: stretching keeps it.
            for (int x = skinBorder; x < skinWidth - skinBorder; ++x) {
                EXPECT_EQ(at(s, x, d), at(s, skinBorder, d)) << i;
                EXPECT_EQ(at(s, x, skinHeight - 1 - d), at(s, skinBorder, skinHeight - 1 - d)) << i;
            }
            for (int y = skinBorder; y < skinHeight - skinBorder; ++y) {
                EXPECT_EQ(at(s, d, y), at(s, d, skinBorder)) << i;
                EXPECT_EQ(at(s, skinWidth - 1 - d, y), at(s, skinWidth - 1 - d, skinBorder)) << i;
            }
            EXPECT_NE(at(s, skinBorder, d), inside) << i;
        }
        EXPECT_EQ(at(s, skinWidth / 2, skinHeight / 2), inside) << i;
        // A person tells each state from every other by its frame.
        for (int j = 0; j < i; ++j) {
            int differing = 0;
            for (int d = 0; d < skinBorder; ++d)
                differing += at(s, skinBorder, d) != at(skins[j], skinBorder, d) ||
                             at(s, skinBorder, skinHeight - 1 - d) != at(skins[j], skinBorder, skinHeight - 1 - d) ||
                             at(s, d, skinBorder) != at(skins[j], d, skinBorder);
            EXPECT_GE(differing, 2) << skinNames[i] << " looks like " << skinNames[j];
        }
    }
}

TEST(DialogPictures, ThePlateShowsExactlyWhereItsMaskIsBlack) {
    const Rgb plate = makePlate(), mask = makePlateMask();
    ASSERT_EQ(plate.size(), static_cast<size_t>(plateWidth) * plateHeight * 3);
    int platePixels = 0;
    for (size_t i = 0; i < plate.size(); i += 3) {
        const bool black = plate[i] == 0 && plate[i + 1] == 0 && plate[i + 2] == 0;
        const bool maskBlack = mask[i] == 0;
        EXPECT_TRUE(black || maskBlack) << "plate colour outside the mask at " << i / 3;
        EXPECT_TRUE(mask[i] == 0 || mask[i] == 255);
        platePixels += maskBlack;
    }
    EXPECT_GT(platePixels, plateWidth * plateHeight * 8 / 10);
    EXPECT_EQ(mask[0], 255) << "rounded corners";
    EXPECT_NE(makeOption(false), makeOption(true));
    EXPECT_NE(makeSquare(false), makeSquare(true));
    EXPECT_EQ(makeTile().size(), static_cast<size_t>(tileWidth) * tileHeight * 3);
}

TEST(DialogPictures, TheBannerIsA25FrameLoopOfDisposal2) {
    const std::vector<std::uint8_t> gif = makeBannerGif();
    fulmina::gif::GifStream stream;
    ASSERT_EQ(fulmina::gif::parseGifStream(gif.data(), gif.size(), stream), bannerFrames);
    EXPECT_EQ(stream.ActualWidth, bannerWidth);
    EXPECT_EQ(stream.ActualHeight, bannerHeight);
    EXPECT_EQ(stream.Loops, 0);
    for (const auto& f : stream.frames) {
        EXPECT_EQ(f.Delay, 100);
        EXPECT_EQ(f.Disposal, 2);
    }
    // An icon file of two images and a cursor file with its hot spot.
    const auto icon = makeIconFile(), cursor = makeHandCursorFile();
    EXPECT_EQ(std::vector<int>(icon.begin(), icon.begin() + 6), (std::vector<int>{0, 0, 1, 0, 2, 0}));
    EXPECT_EQ(std::vector<int>(cursor.begin(), cursor.begin() + 6), (std::vector<int>{0, 0, 2, 0, 1, 0}));
    EXPECT_EQ(cursor[10], 9);
}

}  // namespace
