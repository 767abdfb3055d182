#include "renderer/strike_scene.h"

#include <cmath>

#include "common/saver_contract.h"
#include "renderer/gl_api.h"
#include "renderer/renderer_state.h"
#include "renderer/texture_loader.h"

namespace fulmina {

namespace {
void advanceBlink(RendererState& s) {
    ++s.blinkCounter;
    switch (s.blinkCounter) {
        case 200: s.boltsVisible = false; break;
        case 250: s.boltsVisible = true; break;
        case 300: s.boltsVisible = false; break;
        case 350:
            s.blinkCounter = 0;
            s.boltsVisible = true;
            break;
        default: break;
    }
}
}  // namespace

bool StrikeScene::loadGlowTexture() {
    return loadPictureTexture(contract::textureFile, &texture) && texture != 0xFFFFFFFFu;
}

bool StrikeScene::initialise() {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    loadGlowTexture();  // without it the sprites are plain tinted squares
    setOrigin(0, 0, 0);
    randomiseColours();
    setSingleColourMode(true);
    setSingleColour(0.6f, 0.6f, 1.0f);
    setAttraction(false);
    setKeepPosition(false);
    setPositionSpread(0, 0, 0);
    setVelocity(0, 0.1f, 0, 0.1f, 0, 0.1f);
    setDrag(0);
    setLife(1.0f, 0.01f);
    setFade(0.01f, 0.005f);
    setGravity(0, 0, 0);
    setSize(3.0f);
    resetAll();
    setRegenerate();
    rootBolt = std::make_unique<BoltNode>(Vec3d{0, 0, 0}, 0.75f, 1.25f, 0.0f, 1.0f, 5.0f, 2, 3);
    return true;
}

void StrikeScene::renewTexture() {
    texture = 0;  // a name of the old context means nothing in this one
    loadGlowTexture();
}

void StrikeScene::update(float ms) {
    if (rootBolt) rootBolt->stepTree();
    ParticleEmitter::update();
    RendererState& s = rendererState;
    s.spinX += std::sin(ms / 2500.0f) * 100.0f;
    s.spinY += std::sin(ms / 2900.0f) * 100.0f;
    s.spinZ += std::sin(ms / 3300.0f) * 100.0f;
}

void StrikeScene::draw() {
    RendererState& s = rendererState;
    glLoadIdentity();
    glTranslatef(0, 0, -16);
    glRotatef(s.spinX, 1, 0, 0);
    glRotatef(s.spinY, 0, 1, 0);
    glRotatef(s.spinZ, 0, 0, 1);
    glColor4f(1.0f, 0.6f, 1.0f, 1.0f);
    advanceBlink(s);
    if (s.boltsVisible && rootBolt) {
        // Six arms from the common root: -y, -z, +y, +z, then +x and -x.
        glPushMatrix();
        for (int i = 0; i < 4; ++i) {
            rootBolt->drawTree();
            glRotatef(90, 1, 0, 0);
        }
        glRotatef(90, 0, 0, 1);
        rootBolt->drawTree();
        glRotatef(180, 0, 0, 1);
        rootBolt->drawTree();
        glPopMatrix();
    }
    glEnable(GL_TEXTURE_2D);
    ParticleEmitter::draw();
    glDisable(GL_TEXTURE_2D);
}

}  // namespace fulmina
