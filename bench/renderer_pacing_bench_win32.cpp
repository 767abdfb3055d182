// The renderer's own frame loop with and without its pacing, where the swap
// does not wait (as under Wine with Mesa): frames per second and this
// process's processor time, for frames that only clear and swap and for the
// lightning scene. Unpaced is the loop as it was before the pacing: a frame
// whenever no message waits.
//   renderer_pacing_bench [measured seconds of each kind of run]
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

// Frames, wall time and processor time of the measured runs of one kind.
struct Totals {
    double frames = 0;
    double wall = 0;
    double processor = 0;
};

// Runs the loop for a second and then for the given while, measured, and
// ends it as Escape would: through a WM_QUIT that the loop takes after the
// frame. The first second leaves out how the pacer starts, in its first ten
// frames or so.
template <typename Pacer, typename Frame>
void measure(RendererWindow& w, PaceClock& clock, Pacer& pacer, double seconds, Frame frame, Totals& totals) {
    const std::int64_t warmUp = clock.nowMicros() + 1000000;
    const auto limit = static_cast<std::int64_t>(seconds * 1e6);
    std::int64_t start = 0;
    double cpuBefore = 0;
    long frames = -1;  // counted from the first frame after the warm-up
    runFrameLoop(w, pacer, [&] {
        frame();
        const std::int64_t now = clock.nowMicros();
        if (frames < 0 && now < warmUp) return;
        if (frames < 0) {
            start = now;
            cpuBefore = processorSeconds();
        }
        if (++frames > 0 && now - start >= limit) requestExit(w);
    });
    glFinish();
    totals.frames += frames;
    totals.wall += static_cast<double>(clock.nowMicros() - start) / 1e6;
    totals.processor += processorSeconds() - cpuBefore;
}

struct Comparison {
    Totals unpaced, paced;
    bool pacerWaited = false;
};

// Unpaced and paced runs in turn, so that other work on the machine weighs
// on both alike.
template <typename Frame>
Comparison compare(RendererWindow& w, MessageQueueClock& clock, double seconds, Frame frame) {
    constexpr int rounds = 4;
    Comparison c;
    Unpaced unpaced;
    FramePacer pacer(clock);
    for (int round = 0; round < rounds; ++round) {
        measure(w, clock, unpaced, seconds / rounds, frame, c.unpaced);
        startPacing(pacer, w.dc);
        measure(w, clock, pacer, seconds / rounds, frame, c.paced);
        c.pacerWaited = c.pacerWaited || !pacer.swapWaits();
    }
    return c;
}

void print(const char* what, const Totals& t) {
    std::printf("%-32s %7.1f frames/s, processor %5.1f%% of a core\n", what, t.frames / t.wall,
                100.0 * t.processor / t.wall);
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

    const Comparison clear =
        compare(w, clock, seconds, [] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); });
    w.lastTick = GetTickCount();
    lightningFrame(w, frame);  // the scene's initialisation, outside the runs
    const Comparison lightning = compare(w, clock, seconds, [&] { lightningFrame(w, frame); });
    const int refreshHz = GetDeviceCaps(w.dc, VREFRESH);
    closeRendererWindow(w);
    UnregisterClassA(app.className, app.instance);

    const auto rate = [](const Totals& t) { return t.frames / t.wall; };
    const auto share = [](const Totals& t) { return t.processor / t.wall; };
    std::printf("display refresh %d Hz (0 or 1: not known)\n", refreshHz);
    print("clear and swap only, unpaced:", clear.unpaced);
    print("clear and swap only, paced:", clear.paced);
    std::printf("  the pacer found the swap not waiting and waited itself: %s\n", clear.pacerWaited ? "yes" : "no");
    std::printf("  paced: %.1f frames/s (target 60 +- 2), processor time %.3f of unpaced (target: at most 0.1)\n",
                rate(clear.paced), share(clear.paced) / share(clear.unpaced));
    print("lightning scene, unpaced:", lightning.unpaced);
    print("lightning scene, paced:", lightning.paced);
    std::printf("  the pacer waited: %s (frames slower than 60 a second need no wait)\n",
                lightning.pacerWaited ? "yes" : "no");
    std::printf("  paced scene frame rate %.1f%% of unpaced (target: unchanged where under 60 frames/s)\n",
                100.0 * rate(lightning.paced) / rate(lightning.unpaced));
    return 0;
}
