#include <gtest/gtest.h>

#include <cmath>

#include "renderer/crt_rand.h"
#include "renderer/gl_api.h"
#include "renderer/particle_emitter.h"
#include "renderer/renderer_state.h"
#include "tests/renderer/support/draws.h"
#include "tests/renderer/support/gl_recorder.h"

namespace {

using fulmina::ParticleEmitter;

// Exposes the single-particle reset for the tests.
struct TestEmitter : ParticleEmitter {
    using ParticleEmitter::resetParticle;
};

void configureLikeTheScene(ParticleEmitter& e) {
    e.setOrigin(0, 0, 0);
    e.setSingleColourMode(true);
    e.setSingleColour(0.6f, 0.6f, 1.0f);
    e.setPositionSpread(0, 0, 0);
    e.setVelocity(0, 0.1f, 0, 0.1f, 0, 0.1f);
    e.setLife(1.0f, 0.01f);
    e.setFade(0.01f, 0.005f);
    e.setSize(3.0f);
}

TEST(ParticleEmitter, ResetTakesNineDrawsOrSixWhenKeepingPosition) {
    TestEmitter e;
    configureLikeTheScene(e);
    fulmina::setRandState(99);
    EXPECT_EQ(draws::counted([&] { e.resetParticle(3); }), 9);
    e.setKeepPosition(true);
    EXPECT_EQ(draws::counted([&] { e.resetParticle(3); }), 6);
    EXPECT_EQ(draws::counted([&] { e.resetAll(); }), 600);
    e.setKeepPosition(false);
    EXPECT_EQ(draws::counted([&] { e.resetAll(); }), 900);
}

TEST(ParticleEmitter, ResetDrawsPositionVelocityLifeAndFadeInThatOrder) {
    TestEmitter e;
    e.setOrigin(10, 20, 30);
    e.setPositionSpread(1, 2, 3);
    e.setVelocity(0.5f, 0.1f, -0.5f, 0.2f, 0, 0.3f);
    e.setLife(1.0f, 0.01f);
    e.setFade(0.01f, 0.005f);
    const std::uint32_t s = 4242;
    std::uint32_t probe = s;
    float u[9];
    for (float& v : u) {
        probe = draws::advance(probe);
        v = static_cast<float>(static_cast<int>((probe >> 16) & 0x7FFF) % 1000) / 500.0f - 1.0f;
    }
    fulmina::setRandState(s);
    e.resetParticle(0);
    const auto& p = e.particle(0);
    EXPECT_FLOAT_EQ(p.x, u[0] * 1 + 10);
    EXPECT_FLOAT_EQ(p.y, u[1] * 2 + 20);
    EXPECT_FLOAT_EQ(p.z, u[2] * 3 + 30);
    EXPECT_FLOAT_EQ(p.vx, u[3] * 0.1f + 0.5f);
    EXPECT_FLOAT_EQ(p.vy, u[4] * 0.2f - 0.5f);
    EXPECT_FLOAT_EQ(p.vz, u[5] * 0.3f);
    EXPECT_FLOAT_EQ(p.life, u[6] * 1.0f + u[7] * 0.01f);
    EXPECT_FLOAT_EQ(p.fade, u[8] * 0.005f + 0.01f);
}

TEST(ParticleEmitter, SceneSettingsGiveVelocitiesLivesAndFadesInTheirRanges) {
    ParticleEmitter e;
    configureLikeTheScene(e);
    fulmina::setRandState(1);
    int negativeLives = 0;
    for (int round = 0; round < 20; ++round) {
        e.resetAll();
        for (int i = 0; i < ParticleEmitter::particleCount; ++i) {
            const auto& p = e.particle(i);
            for (float v : {p.vx, p.vy, p.vz}) {
                EXPECT_GE(v, -0.1f);
                EXPECT_LE(v, 0.0998f + 1e-6f);
            }
            EXPECT_GE(p.fade, 0.005f - 1e-6f);
            EXPECT_LE(p.fade, 0.01499f + 1e-6f);
            EXPECT_GE(p.life, -1.01f - 1e-6f);
            EXPECT_LE(p.life, 1.008f + 1e-6f);
            EXPECT_EQ(p.x, 0.0f);
            negativeLives += p.life < 0;
        }
    }
    // About half of all re-births start dead.
    EXPECT_GT(negativeLives, 800);
    EXPECT_LT(negativeLives, 1200);
}

TEST(ParticleEmitter, RandomiseColoursTakesThreeHundredDrawsRedGreenBlueInOrder) {
    ParticleEmitter e;
    const std::uint32_t s = 777;
    fulmina::setRandState(s);
    EXPECT_EQ(draws::counted([&] { e.randomiseColours(); }), 300);
    std::uint32_t probe = s;
    auto next = [&] {
        probe = draws::advance(probe);
        return static_cast<float>(static_cast<int>((probe >> 16) & 0x7FFF) % 1000) / 1000.0f;
    };
    for (int i = 0; i < ParticleEmitter::particleCount; ++i) {
        EXPECT_FLOAT_EQ(e.particle(i).r, next());
        EXPECT_FLOAT_EQ(e.particle(i).g, next());
        EXPECT_FLOAT_EQ(e.particle(i).b, next());
    }
}

TEST(ParticleEmitter, UpdateBeforeAnyConfigurationOnlyFadesAndDrawsNothing) {
    ParticleEmitter e;
    fulmina::setRandState(1);
    EXPECT_EQ(draws::counted([&] { e.update(); }), 0);
    for (int i = 0; i < ParticleEmitter::particleCount; ++i) EXPECT_FLOAT_EQ(e.particle(i).life, -0.01f);
    EXPECT_EQ(e.getSystemLife(), 0.0f);  // fadeBase - fadeSpread is 0 unconfigured
    EXPECT_FALSE(e.isFinished());        // 0 is not below 0
}

TEST(ParticleEmitter, RegeneratingEmitterRebirthsDeadParticlesDuringUpdate) {
    ParticleEmitter e;
    configureLikeTheScene(e);
    e.setRegenerate();
    fulmina::setRandState(1);
    // Every particle starts at life 0; the update drops it below 0 and re-births it.
    EXPECT_EQ(draws::counted([&] { e.update(); }), 900);
}

TEST(ParticleEmitter, UpdateMovesThenAcceleratesThenDividesByDrag) {
    TestEmitter e;
    e.setVelocity(1, 0, 2, 0, 3, 0);
    e.setGravity(0.5f, 0, 0);
    e.setFade(0.01f, 0);
    e.resetParticle(0);
    e.setDrag(1);
    e.update();
    const auto& p = e.particle(0);
    EXPECT_FLOAT_EQ(p.x, 1);  // moved by the old velocity
    EXPECT_FLOAT_EQ(p.vx, (1 + 0.5f) / 2);
    EXPECT_FLOAT_EQ(p.vy, 1);
    e.setDrag(-1);  // 1 + drag is 0: the velocity is left undivided
    e.update();
    EXPECT_FLOAT_EQ(p.vx, 0.75f + 0.5f);
    EXPECT_FLOAT_EQ(p.vy, 1);
}

TEST(ParticleEmitter, AttractionAimsFromTheNewPositionAtResetAndFromTheOriginDuringUpdate) {
    TestEmitter e;
    e.setOrigin(1, 2, 3);
    e.setTarget(11, 22, 33);
    e.setAttraction(true);
    e.setPositionSpread(0, 0, 0);
    e.resetParticle(0);
    const auto& p = e.particle(0);
    EXPECT_FLOAT_EQ(p.ax, (11 - 1) / 100.0f);
    EXPECT_FLOAT_EQ(p.az, (33 - 3) / 100.0f);
    e.setOrigin(0, 0, 0);
    e.update();
    EXPECT_FLOAT_EQ(p.ax, 11 / 1000.0f);
    EXPECT_FLOAT_EQ(p.ay, 22 / 1000.0f);
}

TEST(ParticleEmitter, StoppedEmitterRunsDownItsSystemLifeAndThenDrawsNothing) {
    ParticleEmitter e;
    configureLikeTheScene(e);
    e.stopRegenerating();  // not regenerating: no effect
    EXPECT_EQ(e.getSystemLife(), 0.0f);
    e.setRegenerate();
    e.stopRegenerating();
    EXPECT_FLOAT_EQ(e.getSystemLife(), 1.01f);
    int updates = 0;
    while (!e.isFinished() && updates < 1000) {
        e.update();
        ++updates;
    }
    EXPECT_NEAR(updates, 202, 1);  // 1.01 in steps of 0.005
    glrec::clear();
    e.draw();
    EXPECT_TRUE(glrec::calls().empty());
}

TEST(ParticleEmitter, DrawEmitsOneFacingStripPerParticleWithAlphaFromLife) {
    TestEmitter e;
    configureLikeTheScene(e);
    fulmina::rendererState.spinX = 10;
    fulmina::rendererState.spinY = 20;
    fulmina::rendererState.spinZ = 30;
    fulmina::setRandState(5);
    e.resetAll();
    glrec::clear();
    e.draw();
    EXPECT_EQ(glrec::count("glBegin"), 100);
    EXPECT_EQ(glrec::count("glVertex3f"), 400);
    const auto& calls = glrec::calls();
    // Start: push, no depth test, additive blending, the texture bound once.
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(calls[0].name, "glPushMatrix");
    EXPECT_EQ(calls[1].name, "glDisable");
    EXPECT_EQ(calls[1].args[0], GL_DEPTH_TEST);
    EXPECT_EQ(calls[2].name, "glBlendFunc");
    EXPECT_EQ(calls[3].name, "glEnable");
    EXPECT_EQ(calls[3].args[0], GL_BLEND);
    EXPECT_EQ(calls[4].name, "glBindTexture");
    EXPECT_EQ(glrec::count("glBindTexture"), 1);
    // The first sprite: colour, translate to the negated position, undo the spin Z, Y, X.
    EXPECT_EQ(calls[5].name, "glColor4f");
    EXPECT_FLOAT_EQ(calls[5].args[0], 0.6f);
    EXPECT_FLOAT_EQ(calls[5].args[2], 1.0f);
    EXPECT_FLOAT_EQ(calls[5].args[3], e.particle(0).life / 2);
    EXPECT_EQ(calls[7].name, "glTranslatef");
    EXPECT_FLOAT_EQ(calls[7].args[0], -e.particle(0).x);
    EXPECT_EQ(calls[8].args, (std::vector<double>{-30, 0, 0, 1}));
    EXPECT_EQ(calls[9].args, (std::vector<double>{-20, 0, 1, 0}));
    EXPECT_EQ(calls[10].args, (std::vector<double>{-10, 1, 0, 0}));
    // The strip: (0,0) at (-h,-h), (0,1) at (-h,h), (1,0) at (h,-h), (1,1) at (h,h).
    EXPECT_EQ(calls[12].args, (std::vector<double>{0, 0}));
    EXPECT_EQ(calls[13].args, (std::vector<double>{-1.5, -1.5, 0}));
    EXPECT_EQ(calls[14].args, (std::vector<double>{0, 1}));
    EXPECT_EQ(calls[15].args, (std::vector<double>{-1.5, 1.5, 0}));
    // End: blending off, depth test back on.
    const size_t n = calls.size();
    EXPECT_EQ(calls[n - 3].name, "glDisable");
    EXPECT_EQ(calls[n - 3].args[0], GL_BLEND);
    EXPECT_EQ(calls[n - 2].name, "glEnable");
    EXPECT_EQ(calls[n - 2].args[0], GL_DEPTH_TEST);
    EXPECT_EQ(calls[n - 1].name, "glPopMatrix");

    // Own colours when single-colour mode is off.
    e.randomiseColours();
    e.setSingleColourMode(false);
    glrec::clear();
    e.draw();
    EXPECT_FLOAT_EQ(glrec::calls()[5].args[0], e.particle(0).r);
    EXPECT_FLOAT_EQ(glrec::calls()[5].args[1], e.particle(0).g);
    fulmina::rendererState = {};
}

}  // namespace
