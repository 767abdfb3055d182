#include <gtest/gtest.h>

#include <cmath>

#include "common/saver_contract.h"
#include "renderer/crt_rand.h"
#include "renderer/gl_api.h"
#include "renderer/renderer_state.h"
#include "renderer/strike_scene.h"
#include "tests/renderer/support/draws.h"
#include "tests/renderer/support/gl_recorder.h"

namespace {

using fulmina::StrikeScene;

class StrikeSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        fulmina::rendererState = {};
        glrec::clear();
        glrec::textureLoad() = {};
    }
    void TearDown() override { fulmina::rendererState = {}; }
};

bool drewBolts() { return glrec::count("glVertex3d") > 0; }

TEST_F(StrikeSceneTest, InitialiseSetsBlendingLoadsTheGlowFileAndPlantsTheRoot) {
    StrikeScene scene;
    glrec::textureLoad().succeed = true;
    glrec::textureLoad().name = 5;
    EXPECT_TRUE(scene.initialise());
    const auto names = glrec::names();
    ASSERT_EQ(names.size(), 3u);  // the loader itself is the platform's
    EXPECT_EQ(names[0], "glBlendFunc");
    EXPECT_EQ(glrec::calls()[1].args[0], GL_DEPTH_TEST);
    EXPECT_EQ(names[1], "glDisable");
    EXPECT_EQ(names[2], "glEnable");
    EXPECT_EQ(glrec::calls()[2].args[0], GL_BLEND);
    EXPECT_EQ(glrec::textureLoad().calls, 1);
    EXPECT_EQ(glrec::textureLoad().lastPath, fulmina::contract::textureFile);
    EXPECT_EQ(scene.textureName(), 5u);
    ASSERT_NE(scene.bolt(), nullptr);
    EXPECT_EQ(scene.bolt()->getGeneration(), 10);
    EXPECT_TRUE(scene.isRegenerating());
}

TEST_F(StrikeSceneTest, AMissingGlowFileLeavesTheTextureNameAtZeroAndTheSceneGoesOn) {
    StrikeScene scene;
    EXPECT_TRUE(scene.initialise());
    EXPECT_EQ(scene.textureName(), 0u);
    ASSERT_NE(scene.bolt(), nullptr);
}

TEST_F(StrikeSceneTest, InitialiseDrawsThreeHundredColoursThenNineHundredResets) {
    StrikeScene scene;
    const std::uint32_t before = fulmina::randState();
    EXPECT_EQ(draws::counted([&] { scene.initialise(); }), 1200);
    // The first 300 draws are the colours, particle by particle.
    std::uint32_t probe = before;
    for (int i = 0; i < 3; ++i) {
        probe = draws::advance(probe);
        const float expected = static_cast<float>(static_cast<int>((probe >> 16) & 0x7FFF) % 1000) / 1000.0f;
        EXPECT_FLOAT_EQ((&scene.particle(0).r)[i], expected);
    }
    // Then the resets: particle 0's first velocity draw is draw 304.
    probe = before;
    for (int i = 0; i < 304; ++i) probe = draws::advance(probe);
    const float u = static_cast<float>(static_cast<int>((probe >> 16) & 0x7FFF) % 1000) / 500.0f - 1.0f;
    EXPECT_FLOAT_EQ(scene.particle(0).vx, u * 0.1f);
}

TEST_F(StrikeSceneTest, FirstUpdateOfTheUnconfiguredSceneOnlyFadesAndSpins) {
    StrikeScene scene;
    EXPECT_EQ(draws::counted([&] { scene.update(16); }), 0);
    EXPECT_FLOAT_EQ(scene.particle(0).life, -0.01f);
    EXPECT_NEAR(fulmina::rendererState.spinX, std::sin(16.0 / 2500) * 100, 1e-4);
    EXPECT_NEAR(fulmina::rendererState.spinY, std::sin(16.0 / 2900) * 100, 1e-4);
    EXPECT_NEAR(fulmina::rendererState.spinZ, std::sin(16.0 / 3300) * 100, 1e-4);
}

TEST_F(StrikeSceneTest, SpinAddsTheSineOfTheFrameTimeEachFrame) {
    StrikeScene scene;
    scene.initialise();
    scene.update(0);
    EXPECT_EQ(fulmina::rendererState.spinX, 0.0f);
    scene.update(16);
    scene.update(16);
    EXPECT_NEAR(fulmina::rendererState.spinX, 2 * 0.63999563, 1e-4);  // about 0.64 degrees a frame
    // A long frame between pi x 2500 and 2 pi x 2500 ms turns X backwards,
    // never by more than 100 degrees.
    const float x = fulmina::rendererState.spinX;
    const float y = fulmina::rendererState.spinY;
    scene.update(3.0f * 3.14159265f / 2.0f * 2500.0f);
    EXPECT_NEAR(fulmina::rendererState.spinX - x, -100.0f, 1e-2);
    EXPECT_GT(fulmina::rendererState.spinY - y, -100.0f);
    EXPECT_LT(fulmina::rendererState.spinY - y, 0.0f);
}

TEST_F(StrikeSceneTest, TreeStepComesBeforeTheEmitterUpdateAndTheSpin) {
    StrikeScene scene;
    scene.initialise();
    // One tree step of a lone root: coin, death, growth (+3 if it grows); then
    // the emitter's re-births. Replaying the tree step on its own gives the split.
    const std::uint32_t s = fulmina::randState();
    const int g = draws::valueAfter(draws::advance(draws::advance(s)));
    const int treeDraws = 3 + (g % 3 != 0 ? 3 : 0);
    std::uint32_t afterTree = s;
    for (int i = 0; i < treeDraws; ++i) afterTree = draws::advance(afterTree);
    scene.update(16);
    EXPECT_EQ(scene.bolt()->getNewestChild() != nullptr, g % 3 != 0);
    // Everything after the tree step went to the emitter: in whole re-births of 9.
    const int emitterDraws = draws::between(afterTree, fulmina::randState());
    EXPECT_GE(emitterDraws, 0);
    EXPECT_EQ(emitterDraws % 9, 0);
}

TEST_F(StrikeSceneTest, BoltsBlinkOnTheFixedScheduleOf350Frames) {
    StrikeScene scene;
    scene.initialise();
    for (int i = 0; i < 30; ++i) scene.update(16);  // grow a tree worth drawing
    std::string shown;
    for (int frame = 1; frame <= 351; ++frame) {
        glrec::clear();
        scene.draw();
        shown += drewBolts() ? '1' : '0';
    }
    const std::string expected = std::string(199, '1') + std::string(50, '0') + std::string(50, '1') +
                                 std::string(50, '0') + "1" + "1";
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(fulmina::rendererState.blinkCounter, 1);
}

TEST_F(StrikeSceneTest, DrawSpinsTheFrameAndDrawsSixArmsAroundTheRoot) {
    StrikeScene scene;
    scene.initialise();
    for (int i = 0; i < 10; ++i) scene.update(16);
    glrec::clear();
    scene.draw();
    const auto& calls = glrec::calls();
    ASSERT_GT(calls.size(), 6u);
    EXPECT_EQ(calls[0].name, "glLoadIdentity");
    EXPECT_EQ(calls[1].args, (std::vector<double>{0, 0, -16}));
    EXPECT_EQ(calls[2].args, (std::vector<double>{fulmina::rendererState.spinX, 1, 0, 0}));
    EXPECT_EQ(calls[3].args, (std::vector<double>{fulmina::rendererState.spinY, 0, 1, 0}));
    EXPECT_EQ(calls[4].args, (std::vector<double>{fulmina::rendererState.spinZ, 0, 0, 1}));
    EXPECT_EQ(calls[5].name, "glColor4f");
    EXPECT_FLOAT_EQ(calls[5].args[1], 0.6f);
    // Between the scene's push and pop: the rotations that separate the arms.
    std::vector<std::vector<double>> armTurns;
    int segmentsPerArm = 0;
    size_t i = 7;
    EXPECT_EQ(calls[6].name, "glPushMatrix");
    for (; i < calls.size() && calls[i].name != "glPopMatrix"; ++i) {
        if (calls[i].name == "glRotatef") armTurns.push_back(calls[i].args);
        if (armTurns.empty() && calls[i].name == "glBegin") ++segmentsPerArm;
    }
    const std::vector<std::vector<double>> expected = {
        {90, 1, 0, 0}, {90, 1, 0, 0}, {90, 1, 0, 0}, {90, 1, 0, 0}, {90, 0, 0, 1}, {180, 0, 0, 1}};
    EXPECT_EQ(armTurns, expected);
    EXPECT_GT(segmentsPerArm, 0);
    EXPECT_EQ(glrec::count("glBegin"), 6 * segmentsPerArm + 100);
    // Then the sprites, with texturing switched on around them.
    EXPECT_EQ(calls[i + 1].name, "glEnable");
    EXPECT_EQ(calls[i + 1].args[0], GL_TEXTURE_2D);
    EXPECT_EQ(calls.back().name, "glDisable");
    EXPECT_EQ(calls.back().args[0], GL_TEXTURE_2D);
}

}  // namespace
