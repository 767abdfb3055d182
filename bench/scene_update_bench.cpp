// CPU time of one scene update (tree step, sprite update, spin), natively.
// Prints the median and the 99th percentile over many frames.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "renderer/crt_rand.h"
#include "renderer/strike_scene.h"
#include "tests/renderer/support/offscreen.h"

int main() {
    offscreen::Context context(64, 64);  // the initialisation sets GL state
    if (!context.ok()) {
        std::fprintf(stderr, "no off-screen OpenGL context\n");
        return 1;
    }
    fulmina::StrikeScene scene;
    scene.update(16);
    scene.initialise();
    for (int i = 0; i < 1000; ++i) scene.update(16);  // a grown tree, as on screen

    const int frames = 200000;
    std::vector<double> micros;
    micros.reserve(frames);
    for (int i = 0; i < frames; ++i) {
        const auto start = std::chrono::steady_clock::now();
        scene.update(16);
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    std::printf("scene update: median %.2f us, p99 %.2f us over %d frames (target: median under 20 us)\n",
                micros[frames / 2], micros[frames * 99 / 100], frames);
    return 0;
}
