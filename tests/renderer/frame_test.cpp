#include <gtest/gtest.h>

#include <utility>

#include "renderer/frame.h"
#include "renderer/gl_api.h"
#include "renderer/renderer_state.h"
#include "renderer/strike_scene.h"
#include "tests/renderer/support/gl_recorder.h"

namespace {

using namespace fulmina;

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        rendererState = {};
        glrec::clear();
        glrec::textureLoad() = {};
        frame.scene = &scene;
        frameSetup(frame, keys);
    }

    void TearDown() override { rendererState = {}; }

    // The blending, depth-test and texturing state at the bolt colour call of
    // each frame, replayed from every call recorded since the setup.
    struct BoltState {
        bool blend, depth, texture;
    };
    static std::vector<BoltState> boltStates() {
        std::vector<BoltState> out;
        BoltState now{false, false, false};  // OpenGL's initial state
        for (const auto& c : glrec::calls()) {
            const bool enable = c.name == "glEnable";
            if (enable || c.name == "glDisable") {
                if (c.args[0] == GL_BLEND) now.blend = enable;
                if (c.args[0] == GL_DEPTH_TEST) now.depth = enable;
                if (c.args[0] == GL_TEXTURE_2D) now.texture = enable;
            }
            if (c.name == "glColor4f" && c.args[0] == 1.0 && c.args[1] == 0.6f) out.push_back(now);
        }
        return out;
    }

    StrikeScene scene;
    KeyTable keys{};
    FrameContext frame;
};

TEST_F(FrameTest, ProjectionIsA45DegreePerspectiveOverTheWholeArea) {
    glrec::clear();
    setProjection(1024, 768);
    const auto& c = glrec::calls();
    ASSERT_EQ(c.size(), 6u);
    EXPECT_EQ(c[0].args, (std::vector<double>{0, 0, 1024, 768}));
    EXPECT_EQ(c[1].args[0], GL_PROJECTION);
    EXPECT_EQ(c[3].args, (std::vector<double>{45.0, 1024.0 / 768.0, 1.0, 100.0}));
    EXPECT_EQ(c[4].args[0], GL_MODELVIEW);
    EXPECT_EQ(c[5].name, "glLoadIdentity");
}

TEST_F(FrameTest, FirstFrameUpdatesTheSceneBeforeInitialisingItAndOnlyOnce) {
    EXPECT_FALSE(frameUpdate(frame, 16));
    // The update ran on the unconfigured scene: spin moved, no texture load yet
    // at that point; then the initialisation loaded it and planted the tree.
    EXPECT_EQ(glrec::textureLoad().calls, 1);
    ASSERT_NE(scene.bolt(), nullptr);
    EXPECT_EQ(scene.bolt()->getNewestChild(), nullptr);  // not stepped since planting
    EXPECT_EQ(frame.initialisedScene, 1);
    for (int i = 0; i < 5; ++i) frameUpdate(frame, 16);
    EXPECT_EQ(glrec::textureLoad().calls, 1);
}

// A display switch opens a new window with a new context: the old context's
// texture went with it, so the glow is made again; the scene stays as it was.
TEST_F(FrameTest, ANewContextGetsTheGlowTextureAgainAndKeepsTheScene) {
    glrec::textureLoad().succeed = true;
    for (int i = 0; i < 3; ++i) frameUpdate(frame, 16);
    const BoltNode* tree = scene.bolt();
    const float life = scene.particle(5).life;
    for (const auto& [loads, name] : {std::pair{true, 9u}, {false, 0u}}) {
        glrec::textureLoad().succeed = loads;
        glrec::textureLoad().name = 9;
        frameSetup(frame, keys);
        EXPECT_EQ(scene.textureName(), name) << "no name of the old context is kept";
    }
    EXPECT_EQ(glrec::textureLoad().calls, 3);
    EXPECT_EQ(scene.bolt(), tree);
    EXPECT_EQ(scene.particle(5).life, life);
}

TEST_F(FrameTest, EscapeAsksToEndButTheFrameIsStillUpdated) {
    frameUpdate(frame, 16);
    const float spin = rendererState.spinX;
    keys[vkEscape] = 1;
    EXPECT_TRUE(frameUpdate(frame, 16));
    EXPECT_GT(rendererState.spinX, spin);
    keys[vkEscape] = 0;
    EXPECT_FALSE(frameUpdate(frame, 16));
    // A tap whose key-up came before this frame: acted on once.
    rendererState.escapePressed = true;
    EXPECT_TRUE(frameUpdate(frame, 16));
    EXPECT_FALSE(frameUpdate(frame, 16));
}

TEST_F(FrameTest, DrawClearsDrawsTheSceneAndFlushes) {
    frameUpdate(frame, 16);
    glrec::clear();
    frameDraw(frame);
    const auto& c = glrec::calls();
    ASSERT_GT(c.size(), 2u);
    EXPECT_EQ(c.front().name, "glClear");
    EXPECT_EQ(c.front().args[0], GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    EXPECT_EQ(c.back().name, "glFlush");
    frame.sceneFailed = true;
    glrec::clear();
    frameDraw(frame);
    EXPECT_TRUE(glrec::calls().empty());
}

TEST_F(FrameTest, FirstFrameDrawsBlendedUntestedTexturedLaterFramesOpaqueWithDepth) {
    for (int i = 0; i < 3; ++i) {
        frameUpdate(frame, 16);
        frameDraw(frame);
    }
    const auto states = boltStates();
    ASSERT_EQ(states.size(), 3u);
    // As the setup and the initialisation left the state.
    EXPECT_TRUE(states[0].blend);
    EXPECT_FALSE(states[0].depth);
    EXPECT_TRUE(states[0].texture);
    // As the sprites of the frame before left it.
    for (int i = 1; i < 3; ++i) {
        EXPECT_FALSE(states[i].blend);
        EXPECT_TRUE(states[i].depth);
        EXPECT_FALSE(states[i].texture);
    }
}

TEST(ElapsedTicks, AWrappedTickCounterStillGivesTheSmallDifference) {
    EXPECT_EQ(elapsedTicks(0xFFFFFFF0u, 0x00000010u), 0x20u);
    EXPECT_EQ(elapsedTicks(1000u, 1016u), 16u);
}

}  // namespace
