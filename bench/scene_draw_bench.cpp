// Native cost of drawing the lightning scene at 1024 x 768 with Mesa's
// software rasteriser, beside a frame that only clears: where the time of a
// frame goes when no window system is involved.
#include <GL/gl.h>

#include <chrono>
#include <cstdio>

#include "renderer/crt_rand.h"
#include "renderer/frame.h"
#include "renderer/strike_scene.h"
#include "tests/renderer/support/offscreen.h"

namespace {

// Each frame is finished before the next begins, as a buffer swap finishes
// it on screen: Mesa defers a clear until something needs its pixels, so
// unfinished clears in a row would cost almost nothing.
template <typename Frame>
double millisPerFrame(int frames, Frame frame) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        frame();
        glFinish();
    }
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count() / frames;
}

}  // namespace

int main() {
    offscreen::Context context(1024, 768);
    if (!context.ok()) {
        std::fprintf(stderr, "no off-screen OpenGL context\n");
        return 1;
    }
    fulmina::StrikeScene scene;
    fulmina::FrameContext frame;
    frame.scene = &scene;
    fulmina::KeyTable keys{};
    fulmina::frameSetup(frame, keys);
    fulmina::setProjection(1024, 768);
    for (int i = 0; i < 100; ++i) {
        fulmina::frameUpdate(frame, 16);
        fulmina::frameDraw(frame);
    }
    const int frames = 300;
    const double clearOnly = millisPerFrame(frames, [] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); });
    const double full = millisPerFrame(frames, [&] {
        fulmina::frameUpdate(frame, 16);
        fulmina::frameDraw(frame);
    });
    std::printf("native, Mesa software rasteriser, 1024 x 768: clear only %.2f ms, full frame %.2f ms\n", clearOnly,
                full);
    return 0;
}
