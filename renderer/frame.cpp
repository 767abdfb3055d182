#include "renderer/frame.h"

#include "renderer/gl_api.h"
#include "renderer/renderer_state.h"
#include "renderer/strike_scene.h"

namespace fulmina {

void setProjection(int w, int h) {
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(w) / static_cast<double>(h), 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool frameSetup(FrameContext& frame, const KeyTable& keys) {
    frame.keys = &keys;
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHT0);  // lighting itself stays off
    // A window after the first (a display switch) has a new context, and the
    // textures of the old one went with it: the scene keeps its state but
    // needs its glow texture again.
    if (frame.activeScene == 1 && frame.initialisedScene == frame.activeScene) frame.scene->renewTexture();
    return true;
}

bool frameUpdate(FrameContext& frame, std::uint32_t ms) {
    bool exit = frame.keys != nullptr && (*frame.keys)[vkEscape] == 1;
    if (rendererState.escapePressed) {  // pressed since the last frame, perhaps already released
        rendererState.escapePressed = false;
        exit = true;
    }
    if (frame.activeScene == 1) frame.scene->update(static_cast<float>(ms));
    if (frame.initialisedScene != frame.activeScene) {
        frame.initialisedScene = frame.activeScene;
        if (frame.activeScene == 1 && !frame.scene->initialise()) {
            exit = true;
            frame.sceneFailed = true;
        }
    }
    return exit;
}

void frameDraw(const FrameContext& frame) {
    if (frame.sceneFailed) return;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (frame.activeScene == 1) frame.scene->draw();
    glFlush();
}

}  // namespace fulmina
