#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "tests/renderer/support/offscreen.h"
#include "tests/renderer/support/scenario.h"

namespace {

using offscreen::Picture;

constexpr int width = 256;
constexpr int height = 192;

// Bolt pixels: the bolt colour (1.0, 0.6, 1.0) has more red than green; the
// bluish sprites never add more red than green.
bool isBolt(const std::uint8_t* px) { return px[0] > 90 && px[0] > px[1] + 30; }

int boltPixels(const Picture& p, int x0 = 0, int y0 = 0, int x1 = width, int y1 = height) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += isBolt(p.at(x, y));
    return n;
}

double meanBlue(const Picture& p, double r0, double r1) {
    double sum = 0;
    int n = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double r = std::hypot(x + 0.5 - width / 2.0, y + 0.5 - height / 2.0);
            if (r >= r0 && r < r1) {
                sum += p.at(x, y)[2];
                ++n;
            }
        }
    return n ? sum / n : 0;
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        offscreen::setGlowFilePresent(true);
        ASSERT_TRUE(context.ok()) << "no off-screen OpenGL context";
    }
    void TearDown() override { offscreen::setGlowFilePresent(true); }
    offscreen::Context context{width, height};
};

TEST_F(PictureTest, SetupLeavesTheFixedStateInTheContext) {
    fulmina::FrameContext frame;
    const fulmina::KeyTable keys{};
    ASSERT_TRUE(fulmina::frameSetup(frame, keys));
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ((std::vector<GLfloat>(clear, clear + 4)), (std::vector<GLfloat>{0, 0, 0, 1}));
    GLfloat depthClear = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depthClear);
    EXPECT_EQ(depthClear, 1.0f);
    auto integer = [](GLenum name) {
        GLint v = 0;
        glGetIntegerv(name, &v);
        return v;
    };
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(integer(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(PictureTest, BoltsShowInShownFramesAndVanishInHiddenOnes) {
    // No elapsed time: no spin, so the arms stay on the axes.
    auto frames = offscreen::renderFrames(context, width, height, 310, 0, {100, 199, 200, 249, 250, 299, 300});
    EXPECT_GT(boltPixels(frames[100]), 200);
    EXPECT_GT(boltPixels(frames[199]), 200);
    EXPECT_EQ(boltPixels(frames[200]), 0);
    EXPECT_EQ(boltPixels(frames[249]), 0);
    EXPECT_GT(boltPixels(frames[250]), 200);
    EXPECT_GT(boltPixels(frames[299]), 200);
    EXPECT_EQ(boltPixels(frames[300]), 0);
}

TEST_F(PictureTest, ArmsReachOutFromTheCentreInEveryScreenDirection) {
    auto frames = offscreen::renderFrames(context, width, height, 150, 0, {150});
    const Picture& p = frames[150];
    const int cx = width / 2, cy = height / 2, band = 12, gap = 30;
    EXPECT_GT(boltPixels(p, cx - band, 0, cx + band, cy - gap), 20) << "no arm upwards";
    EXPECT_GT(boltPixels(p, cx - band, cy + gap, cx + band, height), 20) << "no arm downwards";
    EXPECT_GT(boltPixels(p, 0, cy - band, cx - gap, cy + band), 20) << "no arm to the left";
    EXPECT_GT(boltPixels(p, cx + gap, cy - band, width, cy + band), 20) << "no arm to the right";
    // Off the axes, far from the centre, there is no bolt.
    EXPECT_EQ(boltPixels(p, 0, 0, cx - 60, cy - 50), 0);
    EXPECT_EQ(boltPixels(p, cx + 60, cy + 50, width, height), 0);
}

TEST_F(PictureTest, SpritesAddUpToABrightBlueGlowAroundTheCentre) {
    auto frames = offscreen::renderFrames(context, width, height, 230, 16, {230});
    const Picture& p = frames[230];  // bolts hidden: sprites alone
    EXPECT_EQ(boltPixels(p), 0);
    const std::uint8_t* centre = p.at(width / 2, height / 2);
    // One sprite adds at most half of its colour; the centre is brighter than that.
    EXPECT_GT(centre[2], 160);
    EXPECT_LE(centre[0], centre[1] + 2);
    EXPECT_LE(centre[1], centre[2] + 2);
    EXPECT_GT(meanBlue(p, 0, 10), 2 * meanBlue(p, 40, 60));
    EXPECT_GT(meanBlue(p, 40, 60), 0.5);
}

TEST_F(PictureTest, WithoutTheGlowFileSpritesArePlainTintedSquares) {
    offscreen::setGlowFilePresent(false);
    auto plain = offscreen::renderFrames(context, width, height, 230, 16, {230});
    offscreen::setGlowFilePresent(true);
    auto glowing = offscreen::renderFrames(context, width, height, 230, 16, {230});
    // Untextured squares keep the sprite colour's ratio: red equals green.
    int lit = 0, tinted = 0;
    const Picture& p = plain[230];
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* px = p.at(x, y);
            if (px[2] < 20 || px[2] == 255) continue;
            ++lit;
            tinted += std::abs(px[0] - px[1]) <= 1 && px[2] > px[0];
        }
    ASSERT_GT(lit, 500);
    EXPECT_GT(tinted, lit * 95 / 100);
    // Whole squares give off more light than soft glows.
    EXPECT_GT(meanBlue(plain[230], 20, 80), 1.5 * meanBlue(glowing[230], 20, 80));
}

TEST_F(PictureTest, AFrameMatchesTheStoredReferencePicture) {
    Picture reference;
    ASSERT_TRUE(offscreen::readPpm(FULMINA_REFERENCE_DIR "/frame120.ppm", reference));
    ASSERT_EQ(reference.width, offscreen::referenceWidth);
    ASSERT_EQ(reference.height, offscreen::referenceHeight);
    auto frames = offscreen::renderFrames(context, width, height, offscreen::referenceFrame,
                                          offscreen::referenceMs, {offscreen::referenceFrame});
    const Picture& p = frames[offscreen::referenceFrame];
    long long total = 0;
    int farOff = 0;
    for (size_t i = 0; i < p.rgb.size(); ++i) {
        const int d = std::abs(int(p.rgb[i]) - int(reference.rgb[i]));
        total += d;
        farOff += d > 64;
    }
    const double mean = double(total) / double(p.rgb.size());
    EXPECT_LT(mean, 3.0);
    EXPECT_LT(farOff, static_cast<int>(p.rgb.size() / 100));
    EXPECT_GT(boltPixels(p), 100);  // the reference itself shows lightning
}

}  // namespace
