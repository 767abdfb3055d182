// Frames per second of the renderer at 1024 x 768, beside the limit of the
// same window that only clears and swaps. Both run in one process, one after
// the other, in the renderer's own window and context.
//   renderer_fps_bench [seconds per run]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "renderer/frame.h"
#include "renderer/gl_api.h"
#include "renderer/renderer_window_win32.h"
#include "renderer/strike_scene.h"

namespace {

fulmina::StrikeScene scene;

void pump(HWND window) {
    MSG msg;
    while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

template <typename Frame>
double framesPerSecond(fulmina::RendererWindow& w, DWORD millis, Frame frame) {
    const DWORD start = GetTickCount();
    long frames = 0;
    while (GetTickCount() - start < millis) {
        pump(w.window);
        frame();
        SwapBuffers(w.dc);
        ++frames;
    }
    glFinish();
    return frames * 1000.0 / (GetTickCount() - start);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace fulmina;
    const DWORD millis = static_cast<DWORD>((argc > 1 ? std::atof(argv[1]) : 5.0) * 1000);
    RendererApp app;
    app.instance = GetModuleHandleA(nullptr);
    KeyTable keys{};
    RendererWindow w;
    w.keys = &keys;
    w.app = &app;
    if (!registerRendererClass(app) || !openRendererWindow(w)) {
        std::fprintf(stderr, "no renderer window\n");
        return 1;
    }
    FrameContext frame;
    frame.scene = &scene;
    frameSetup(frame, keys);

    const double limit = framesPerSecond(w, millis, [] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); });
    DWORD last = GetTickCount();
    const double lightning = framesPerSecond(w, millis, [&] {
        const DWORD now = GetTickCount();
        frameUpdate(frame, elapsedTicks(last, now));
        last = now;
        frameDraw(frame);
    });
    closeRendererWindow(w);
    UnregisterClassA(app.className, app.instance);

    const double sceneShare = 100.0 * (1.0 / lightning - 1.0 / limit) / (1.0 / lightning);
    std::printf("clear and swap only: %.1f frames/s (%.2f ms a frame)\n", limit, 1000.0 / limit);
    std::printf("lightning scene:     %.1f frames/s (%.2f ms a frame)\n", lightning, 1000.0 / lightning);
    std::printf("scene share of the frame: %.1f%% (target: under 10%%)\n", sceneShare);
    std::printf("full screen: %s\n", w.fullScreen ? "yes" : "no (display mode unchanged)");
    return 0;
}
