#include "renderer/particle_emitter.h"

#include "renderer/crt_rand.h"
#include "renderer/gl_api.h"
#include "renderer/renderer_state.h"

namespace fulmina {

namespace {
// The emitter's one shape of random draw: -1.000 to 0.998 in steps of 0.002.
float unitDraw() { return static_cast<float>(fulmina::rand() % 1000) / 500.0f - 1.0f; }

float randomComponent(float spread, float base) { return unitDraw() * spread + base; }
}  // namespace

void ParticleEmitter::setOrigin(float x, float y, float z) { origin = {x, y, z}; }

void ParticleEmitter::getOrigin(float& x, float& y, float& z) const {
    x = origin.x;
    y = origin.y;
    z = origin.z;
}

void ParticleEmitter::randomiseColours() {
    for (Particle& p : particles) {
        p.r = static_cast<float>(fulmina::rand() % 1000) / 1000.0f;
        p.g = static_cast<float>(fulmina::rand() % 1000) / 1000.0f;
        p.b = static_cast<float>(fulmina::rand() % 1000) / 1000.0f;
    }
}

void ParticleEmitter::setSingleColour(float r, float g, float b) { colour = {r, g, b}; }

void ParticleEmitter::setTarget(float x, float y, float z) { target = {x, y, z}; }

void ParticleEmitter::setPositionSpread(float x, float y, float z) { positionSpread = {x, y, z}; }

void ParticleEmitter::setVelocity(float baseX, float spreadX, float baseY, float spreadY,
                                  float baseZ, float spreadZ) {
    velocityBase = {baseX, baseY, baseZ};
    velocitySpread = {spreadX, spreadY, spreadZ};
}

void ParticleEmitter::setUniformVelocitySpread(float spread) {
    velocitySpread = {spread, spread, spread};
    velocityBase = {0, 0, 0};
}

void ParticleEmitter::setLife(float a, float b) {
    lifeA = a;
    lifeB = b;
}

void ParticleEmitter::setFade(float base, float spread) {
    fadeBase = base;
    fadeSpread = spread;
}

void ParticleEmitter::setGravity(float x, float y, float z) { gravity = {x, y, z}; }

void ParticleEmitter::resetAll() {
    for (int i = 0; i < particleCount; ++i) resetParticle(i);
}

void ParticleEmitter::stopRegenerating() {
    if (!regenerate) return;
    regenerate = false;
    systemLife = lifeA + lifeB;
}

void ParticleEmitter::resetParticle(int i) {
    Particle& p = particles[i];
    if (!keepPosition) {
        p.x = randomComponent(positionSpread.x, origin.x);
        p.y = randomComponent(positionSpread.y, origin.y);
        p.z = randomComponent(positionSpread.z, origin.z);
    }
    p.vx = randomComponent(velocitySpread.x, velocityBase.x);
    p.vy = randomComponent(velocitySpread.y, velocityBase.y);
    p.vz = randomComponent(velocitySpread.z, velocityBase.z);
    if (velocityScaling) {
        p.vx *= velocityScale;
        p.vy *= velocityScale;
        p.vz *= velocityScale;
    }
    if (attract) {
        p.ax = (target.x - p.x) / 100.0f;
        p.ay = (target.y - p.y) / 100.0f;
        p.az = (target.z - p.z) / 100.0f;
    } else {
        p.ax = p.ay = p.az = 0;
    }
    const float lifeFromA = unitDraw() * lifeA;  // drawn before the lifeB share
    p.life = lifeFromA + unitDraw() * lifeB;
    p.fade = randomComponent(fadeSpread, fadeBase);
}

void ParticleEmitter::update() {
    const float dragDivisor = 1.0f + drag;
    for (int i = 0; i < particleCount; ++i) {
        Particle& p = particles[i];
        p.x += p.vx;
        p.y += p.vy;
        p.z += p.vz;
        p.vx = p.ax + gravity.x + p.vx;
        p.vy = p.ay + gravity.y + p.vy;
        p.vz = p.az + gravity.z + p.vz;
        if (dragDivisor != 0) {
            p.vx /= dragDivisor;
            p.vy /= dragDivisor;
            p.vz /= dragDivisor;
        }
        p.life -= p.fade;
        if (p.life < 0 && regenerate) resetParticle(i);
        if (attract) {
            p.ax = (target.x - origin.x) / 1000.0f;
            p.ay = (target.y - origin.y) / 1000.0f;
            p.az = (target.z - origin.z) / 1000.0f;
        }
    }
    if (!regenerate) systemLife -= (fadeBase - fadeSpread);
}

void ParticleEmitter::draw() const {
    if (isFinished()) return;
    glPushMatrix();
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, texture);
    const float h = halfSize;
    for (const Particle& p : particles) {
        if (singleColour)
            glColor4f(colour.x, colour.y, colour.z, p.life / 2);
        else
            glColor4f(p.r, p.g, p.b, p.life / 2);
        glPushMatrix();
        glTranslatef(-p.x, -p.y, -p.z);
        // Undo the scene's spin so that the square faces the viewer.
        glRotatef(-rendererState.spinZ, 0, 0, 1);
        glRotatef(-rendererState.spinY, 0, 1, 0);
        glRotatef(-rendererState.spinX, 1, 0, 0);
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(0, 0);
        glVertex3f(-h, -h, 0);
        glTexCoord2f(0, 1);
        glVertex3f(-h, h, 0);
        glTexCoord2f(1, 0);
        glVertex3f(h, -h, 0);
        glTexCoord2f(1, 1);
        glVertex3f(h, h, 0);
        glEnd();
        glPopMatrix();
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
}

}  // namespace fulmina
