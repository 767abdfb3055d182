// Fulmina.dll: the full-screen lightning renderer (an executable, despite its name).
#include <windows.h>

#include "renderer/frame.h"
#include "renderer/renderer_window_win32.h"
#include "renderer/strike_scene.h"

namespace {

fulmina::StrikeScene strikeScene;  // lives from before the entry until after it
fulmina::FrameContext frame{&strikeScene};

void renderFrame(fulmina::RendererWindow& w) {
    const DWORD now = GetTickCount();
    if (fulmina::frameUpdate(frame, fulmina::elapsedTicks(w.lastTick, now))) fulmina::requestExit(w);
    w.lastTick = now;
    fulmina::frameDraw(frame);
    SwapBuffers(w.dc);
}

void pumpMessages(fulmina::RendererWindow& w) {
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, w.window, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return;
            DispatchMessageA(&msg);
        } else if (w.visible == 0) {
            WaitMessage();
        } else {
            renderFrame(w);
        }
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace fulmina;
    RendererApp app;
    app.instance = instance;
    static KeyTable keys{};
    static RendererWindow w;
    w.keys = &keys;
    w.app = &app;

    if (!registerRendererClass(app)) return -1;
    keepRunning = true;
    wantFullScreen = w.fullScreen == 1;
    while (keepRunning) {
        w.fullScreen = wantFullScreen ? 1 : 0;
        if (!openRendererWindow(w)) {
            keepRunning = false;
            break;
        }
        if (!frameSetup(frame, keys)) {
            requestExit(w);
        } else {
            pumpMessages(w);
        }
        closeRendererWindow(w);
    }
    UnregisterClassA(app.className, app.instance);
    return 0;
}
