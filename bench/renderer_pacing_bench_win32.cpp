// The renderer's own frame loop with and without its pacing, where the swap
// does not wait (as under Wine with Mesa): frames per second and this
// process's processor time, for frames that only clear and swap and for the
// lightning scene. Unpaced is the loop as it was before the pacing: a frame
// whenever no message waits.
//   renderer_pacing_bench [seconds per run]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "renderer/display_pace_win32.h"
#include "renderer/frame_loop_win32.h"
#include "renderer/frame_pacer.h"
#include "renderer/gl_api.h"
#include "renderer/message_queue_clock_win32.h"
#include "renderer/strike_scene.h"

namespace {

using namespace fulmina;

StrikeScene scene;

struct Unpaced {
    bool frameDue() { return true; }
    void frameSwapped() {}
};

double processorSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

struct Figures {
    double framesPerSecond;
    double coreShare;  // processor time over wall time
};

// Runs the loop for a while with the given pacer and frame, then ends it as
// Escape would: through a WM_QUIT that the loop takes after the frame.
template <typename Pacer, typename Frame>
Figures measure(RendererWindow& w, PaceClock& clock, Pacer& pacer, double seconds, Frame frame) {
    const double cpuBefore = processorSeconds();
    const std::int64_t start = clock.nowMicros();
    const auto limit = static_cast<std::int64_t>(seconds * 1e6);
    long frames = 0;
    runFrameLoop(w, pacer, [&] {
        frame();
        ++frames;
        if (clock.nowMicros() - start >= limit) requestExit(w);
    });
    glFinish();
    const double wall = static_cast<double>(clock.nowMicros() - start) / 1e6;
    return {frames / wall, (processorSeconds() - cpuBefore) / wall};
}

void print(const char* what, const Figures& f) {
    std::printf("%-32s %7.1f frames/s, processor %5.1f%% of a core\n", what, f.framesPerSecond,
                100.0 * f.coreShare);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
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
    MessageQueueClock clock;
    Unpaced unpaced;
    FramePacer pacer(clock);

    const auto clearOnly = [] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); };
    const Figures clearBefore = measure(w, clock, unpaced, seconds, clearOnly);
    startPacing(pacer, w.dc);
    const Figures clearAfter = measure(w, clock, pacer, seconds, clearOnly);
    const bool swapWaited = pacer.swapWaits();

    const auto lightning = [&] { lightningFrame(w, frame); };
    w.lastTick = GetTickCount();
    lightningFrame(w, frame);  // the scene's initialisation, outside the runs
    const Figures sceneBefore = measure(w, clock, unpaced, seconds, lightning);
    startPacing(pacer, w.dc);
    const Figures sceneAfter = measure(w, clock, pacer, seconds, lightning);
    const int refreshHz = GetDeviceCaps(w.dc, VREFRESH);
    closeRendererWindow(w);
    UnregisterClassA(app.className, app.instance);

    std::printf("display refresh %d Hz; the swap waited for it: %s\n", refreshHz,
                swapWaited ? "yes" : "no");
    print("clear and swap only, unpaced:", clearBefore);
    print("clear and swap only, paced:", clearAfter);
    std::printf("  paced: %.1f frames/s (target 60 +- 2), processor time %.3f of unpaced (target: at most 0.1)\n",
                clearAfter.framesPerSecond, clearAfter.coreShare / clearBefore.coreShare);
    print("lightning scene, unpaced:", sceneBefore);
    print("lightning scene, paced:", sceneAfter);
    std::printf("  paced scene frame rate %.1f%% of unpaced (target: unchanged where under 60 frames/s)\n",
                100.0 * sceneAfter.framesPerSecond / sceneBefore.framesPerSecond);
    return 0;
}
