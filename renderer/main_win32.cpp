// Fulmina.dll: the full-screen lightning renderer (an executable, despite its name).
#include <windows.h>

#include "renderer/frame.h"
#include "renderer/renderer_state.h"
#include "renderer/renderer_window_win32.h"
#include "renderer/strike_scene.h"

namespace {

using namespace fulmina;

// The program's objects; its plain values are in rendererState. The scene is
// made before the entry and freed after it, as a static.
struct Program {
    RendererApp app;
    KeyTable keys{};
    RendererWindow window;
    StrikeScene scene;
    FrameContext frame;
};
Program program;

void renderFrame(RendererWindow& w, FrameContext& frame) {
    const DWORD now = GetTickCount();
    if (frameUpdate(frame, elapsedTicks(w.lastTick, now))) requestExit(w);
    w.lastTick = now;
    frameDraw(frame);
    SwapBuffers(w.dc);
}

// Takes every waiting message before it draws a frame; no TranslateMessage.
void pumpMessages(RendererWindow& w, FrameContext& frame) {
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, w.window, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return;
            DispatchMessageA(&msg);
        } else if (w.visible == 0) {
            WaitMessage();
        } else {
            renderFrame(w, frame);
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Program& p = program;
    p.app.instance = instance;
    p.window.keys = &p.keys;
    p.window.app = &p.app;
    p.frame.scene = &p.scene;

    if (!registerRendererClass(p.app)) return -1;
    RendererState& s = rendererState;
    s.keepRunning = true;
    s.wantFullScreen = p.window.fullScreen == 1;
    while (s.keepRunning) {
        p.window.fullScreen = s.wantFullScreen ? 1 : 0;
        if (!openRendererWindow(p.window)) {
            s.keepRunning = false;
            break;
        }
        if (!frameSetup(p.frame, p.keys)) {
            requestExit(p.window);
        } else {
            pumpMessages(p.window, p.frame);
        }
        closeRendererWindow(p.window);
    }
    UnregisterClassA(p.app.className, p.app.instance);
    return 0;
}
