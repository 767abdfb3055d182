// The command button's costs under Wine: one whole face repaint (clear,
// gradient, eight skin pieces, caption, show) at the settings dialog's
// 81 x 25 pixels, and one tick of its pointer-leave poll.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "forms/form_win32.h"
#include "host/settings/command_win32.h"
#include "tests/support/message_pump_win32.h"

namespace {

using testing_support::pump;

class BenchForm : public forms::Form {
public:
    BenchForm() : Form({L"Command bench", WS_POPUP, 0, RGB(230, 230, 240)}) {}
};

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}


// Ticks of the poll: wall time of each, and processor time on average.
struct Ticks {
    double medianMicros, cpuMicros;
};
Ticks timeTicks(fulmina::Command& button, int count);

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double threadCpuMicros() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto micros = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10.0;
    };
    return micros(kernel) + micros(user);
}

}  // namespace

int main() {
    BenchForm form;
    form.Load();
    form.Move(100, 100, 200, 80);
    form.Show();
    fulmina::Command button{form, 20, 20, 81, 25};
    button.ReadProperties(forms::PropertyBag());
    button.setCaption("設定");
    button.Initialize();

    // Reading FontColour repaints the whole face, as the Part says.
    std::vector<double> repaint;
    for (int i = 0; i < 2000; ++i) {
        const double start = now();
        button.FontColour();
        GdiFlush();
        repaint.push_back(now() - start);
    }
    std::printf("command face repaint at 81 x 25: median %.3f ms (target: under 0.2 ms)\n", median(repaint) / 1000);

    // The poll of an idle button has nothing to notice; a hovered one asks
    // for the pointer and the window under it, and finds itself.
    const Ticks idle = timeTicks(button, 20000);
    SetForegroundWindow(form.hwnd());
    SetCursorPos(100 + 20 + 40, 100 + 20 + 12);
    pump(200);
    if (button.fields().ButtonState != 2) {
        std::fprintf(stderr, "the pointer did not hover the button\n");
        return 1;
    }
    const Ticks hovered = timeTicks(button, 5000);
    std::printf("pointer-poll tick (target: under 20 us of processor time): idle button %.1f us wall, %.1f us "
                "processor; hovered button %.1f us wall, %.1f us processor\n",
                idle.medianMicros, idle.cpuMicros, hovered.medianMicros, hovered.cpuMicros);
    return 0;
}

namespace {
Ticks timeTicks(fulmina::Command& button, int count) {
    std::vector<double> wall;
    const double cpuBefore = threadCpuMicros();
    for (int i = 0; i < count; ++i) {
        const double start = now();
        button.TmrMouse_Timer();
        wall.push_back(now() - start);
    }
    return {median(wall), (threadCpuMicros() - cpuBefore) / count};
}
}  // namespace
