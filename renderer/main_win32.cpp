// Fulmina.dll: the full-screen lightning renderer (an executable, despite its name).
#include <windows.h>

#include "renderer/display_pace_win32.h"
#include "renderer/frame.h"
#include "renderer/frame_loop_win32.h"
#include "renderer/frame_pacer.h"
#include "renderer/message_queue_clock_win32.h"
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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Program& p = program;
    p.app.instance = instance;
    p.window.keys = &p.keys;
    p.window.app = &p.app;
    p.frame.scene = &p.scene;
    MessageQueueClock clock;
    FramePacer pacer(clock);

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
            startPacing(pacer, p.window.dc);
            runFrameLoop(p.window, pacer, [&p] { lightningFrame(p.window, p.frame); });
        }
        closeRendererWindow(p.window);
    }
    UnregisterClassA(p.app.className, p.app.instance);
    return 0;
}
