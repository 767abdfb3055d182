#pragma once

namespace fulmina {

struct Particle {
    float x = 0, y = 0, z = 0;     // position
    float vx = 0, vy = 0, vz = 0;  // velocity, units per update
    float ax = 0, ay = 0, az = 0;  // acceleration, added to the velocity per update
    float r = 0, g = 0, b = 0;     // own colour, used when single-colour mode is off
    float life = 0;                // alpha is life / 2; dead below 0
    float fade = 0.01f;            // subtracted from life per update
};

struct Float3 {
    float x = 0, y = 0, z = 0;
};

// An emitter of 100 textured, camera-facing square sprites that are born at
// the origin, fly, fade and are re-born.
class ParticleEmitter {
public:
    static constexpr int particleCount = 100;

    void setOrigin(float x, float y, float z);
    void getOrigin(float& x, float& y, float& z) const;
    void randomiseColours();
    void setSingleColourMode(bool on) { singleColour = on; }
    void setSingleColour(float r, float g, float b);
    void setAttraction(bool on) { attract = on; }
    void setTarget(float x, float y, float z);
    void setKeepPosition(bool on) { keepPosition = on; }
    void setPositionSpread(float x, float y, float z);
    void setVelocity(float baseX, float spreadX, float baseY, float spreadY, float baseZ, float spreadZ);
    void setUniformVelocitySpread(float spread);
    void setDrag(float d) { drag = d; }
    void setLife(float a, float b);
    void setFade(float base, float spread);
    void setGravity(float x, float y, float z);
    void setSize(float size) { halfSize = size / 2; }
    void setVelocityScaling(bool on) { velocityScaling = on; }
    void setVelocityScale(float k) { velocityScale = k; }
    void resetAll();
    void setRegenerate() { regenerate = true; }
    void stopRegenerating();
    bool isFinished() const { return !regenerate && systemLife < 0; }

    void update();
    void draw() const;

    const Particle& particle(int i) const { return particles[i]; }
    bool isRegenerating() const { return regenerate; }
    float getSystemLife() const { return systemLife; }

protected:
    // Re-births particle i: nine draws, six with keepPosition.
    void resetParticle(int i);

    bool regenerate = false;
    float systemLife = 0;
    Float3 origin;
    bool velocityScaling = false;
    float velocityScale = 1.5f;
    unsigned texture = 0;
    Particle particles[particleCount];
    bool attract = false;
    Float3 target;
    Float3 gravity;
    float drag = 0;
    bool keepPosition = false;
    Float3 positionSpread;
    Float3 velocityBase;
    Float3 velocitySpread;
    float lifeA = 0, lifeB = 0;
    float fadeBase = 0, fadeSpread = 0;
    bool singleColour = true;
    Float3 colour{1, 1, 1};
    float halfSize = 1.0f;
};

}  // namespace fulmina
