#pragma once
#include <memory>

#include "renderer/bolt_node.h"
#include "renderer/particle_emitter.h"

namespace fulmina {

// The ball of lightning: one bolt tree drawn as six arms in a tumbling frame,
// blinking on a fixed schedule, inside a cloud of glow sprites.
class StrikeScene : public ParticleEmitter {
public:
    // Sets the GL state, loads the glow texture, configures the emitter and
    // plants the bolt tree. Always succeeds.
    bool initialise();
    // Makes the glow texture again in a new OpenGL context, keeping the rest
    // of the scene; without the file the sprites are plain tinted squares.
    void renewTexture();
    void update(float ms);
    void draw();

    const BoltNode* bolt() const { return rootBolt.get(); }
    unsigned textureName() const { return texture; }

private:
    bool loadGlowTexture();

    std::unique_ptr<BoltNode> rootBolt;
};

}  // namespace fulmina
