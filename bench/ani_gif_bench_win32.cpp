// The animated GIF control under Wine: loading a large animation (scan,
// every frame into the strip, the first frame shown) with the memory it
// takes beside the strip's own size, and painting one frame of it and of a
// 120 x 50 banner like the settings dialog's.
//   ani_gif_bench PATH\animation.gif
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "controls/gif/ani_gif_win32.h"
#include "controls/gif/gif_writer.h"
#include "forms/form_win32.h"

namespace {

using fulmina::gif::ucAniGIF;
using Bytes = std::vector<std::uint8_t>;

class BenchForm : public forms::Form {
public:
    BenchForm() : Form({L"GIF bench", WS_POPUP, 0, RGB(0, 0, 0)}) {}
};

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The process's peak working set: what the load touched at its most.
std::size_t peakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakWorkingSetSize;
}

// A banner like the dialog's: 25 frames of 120 x 50, delay 10, disposal 2.
Bytes banner() {
    fulmina::gif::PaletteRow colours{};
    for (int i = 0; i < 256; ++i) colours[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(i * 0x010101);
    Bytes out;
    for (int f = 0; f < 25; ++f) {
        Bytes pixels(120 * 50);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 120; ++x) pixels[static_cast<std::size_t>(y * 120 + x)] = static_cast<std::uint8_t>((x + f * 5) ^ y);
        const Bytes one = fulmina::gif::writeFrameGif({pixels.data(), 120}, 120, 50, colours, false, 0);
        if (f == 0) out.assign(one.begin(), one.begin() + 781);  // header and table
        const std::uint8_t control[] = {0x21, 0xF9, 4, 2 << 2, 10, 0, 0, 0};
        out.insert(out.end(), control, control + sizeof(control));
        out.insert(out.end(), one.begin() + 781, one.end() - 1);  // the image, without the trailer
    }
    out.push_back(0x3B);
    return out;
}

// The median time of painting the next frame, each as the control does.
double paintMillis(ucAniGIF& control, int frames) {
    handles::WindowDc screen;
    handles::MemoryDc dc(CreateCompatibleDC(screen.get()));
    handles::Bitmap target(CreateCompatibleBitmap(screen.get(), control.Width(), control.Height()));
    handles::Selection selected(dc.get(), target.get());
    std::vector<double> t;
    for (int i = 0; i < frames; ++i) {
        control.setAction(3);
        const double start = now();
        control.paintOn(dc.get());
        GdiFlush();
        t.push_back(now() - start);
    }
    return median(t);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ani_gif_bench PATH\\animation.gif\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    BenchForm form;
    form.Load();

    std::vector<double> loads;
    std::size_t peak = 0, strip = 0;
    // The first load raises the peak; later ones reuse the memory it freed.
    for (int run = 0; run < 5; ++run) {
        ucAniGIF control{form, 0, 0, 1, 1};
        control.setDelayAnimation(0);
        control.setStretch(4);
        const std::size_t before = peakWorkingSet();
        const double start = now();
        if (!control.LoadAnimatedGIF_Array(&file)) {
            std::fprintf(stderr, "the control refused the animation\n");
            return 1;
        }
        handles::WindowDc screen;
        control.paintOn(screen.get());  // the first frame shown
        GdiFlush();
        loads.push_back(now() - start);
        peak = std::max(peak, peakWorkingSet() - before);
        strip = static_cast<std::size_t>(((control.ActualWidth() * control.FrameCount() + 3) & ~3) * control.ActualHeight());
    }
    std::printf("load of a %d-frame %d x %d animation (%.1f MB) into the control, first frame shown: median %.0f ms\n",
                300, 480, 270, file.size() / 1e6, median(loads));
    std::printf("peak working set added by the first load: %.1f MB beside a strip of %.1f MB\n", peak / 1e6,
                strip / 1e6);

    ucAniGIF big{form, 0, 0, 1, 1};
    big.setDelayAnimation(0);
    big.setStretch(4);
    big.LoadAnimatedGIF_Array(&file);
    const Bytes small = banner();
    ucAniGIF banner120{form, 0, 0, 1, 1};
    banner120.setDelayAnimation(0);
    banner120.setStretch(4);
    banner120.LoadAnimatedGIF_Array(&small);
    std::printf("painting one frame: 120 x 50 banner %.3f ms, 480 x 270 animation %.3f ms (target: under 1 ms)\n",
                paintMillis(banner120, 200), paintMillis(big, 300));
    return 0;
}
