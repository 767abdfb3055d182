// Time from starting the renderer to its window "Fulmina_VC" existing, the
// moment the saver host's watch can first see it; the window is then closed.
// Beside it the same for a plain window of that title made by this program
// itself (no OpenGL, no display switch): what a process start costs anyway;
// and, given the host, from "Fulmina.scr /s" to the renderer's window. It also
// times this process's own first graphics call, which loads the system's
// display and font machinery: under Wine that is most of any program's start,
// the host's included.
//   renderer_startup_bench PATH\Fulmina.dll [runs [PATH\Fulmina.scr]]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/start_timing_win32.h"
#include "common/saver_contract.h"

namespace {

using fulmina::contract::windowTitle;

double millisBetween(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The first call into the windowing system of this process, timed.
double firstGraphicsCall() {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    ShowCursor(FALSE);
    QueryPerformanceCounter(&end);
    ShowCursor(TRUE);
    return millisBetween(start, end);
}

LRESULT CALLBACK plainWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CLOSE) PostQuitMessage(0);
    return DefWindowProcA(w, m, wp, lp);
}

// The baseline: a plain top-level window with the renderer's title.
int plainWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = plainWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PlainWindow";
    RegisterClassA(&wc);
    HWND w = CreateWindowA("PlainWindow", windowTitle, WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, wc.hInstance,
                           nullptr);
    ShowWindow(w, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(w);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--plain-window") == 0) return plainWindow();
    const double firstCall = firstGraphicsCall();
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PATH\\Fulmina.dll [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char plainCommand[MAX_PATH + 32];
    std::snprintf(plainCommand, sizeof(plainCommand), "\"%s\" --plain-window", self);
    auto window = [] { return FindWindowA(nullptr, windowTitle); };
    const double plain = bench::medianMillisToWindow(self, plainCommand, runs, window);
    const double renderer = bench::medianMillisToWindow(argv[1], nullptr, runs, window);
    if (plain < 0 || renderer < 0) {
        std::fprintf(stderr, "a window never appeared\n");
        return 1;
    }
    std::printf("start to the renderer's window, median over %d runs: renderer %.0f ms, plain window %.0f ms "
                "(target for the renderer: under 150 ms)\n",
                runs, renderer, plain);
    if (argc > 3) {
        char hostCommand[MAX_PATH + 16];
        std::snprintf(hostCommand, sizeof(hostCommand), "\"%s\" /s", argv[3]);
        const double host = bench::medianMillisToWindow(argv[3], hostCommand, runs, window);
        if (host < 0) {
            std::fprintf(stderr, "the saver's renderer window never appeared\n");
            return 1;
        }
        std::printf("\"Fulmina.scr /s\" to the renderer's window: median %.0f ms, %.0f ms more than the renderer "
                    "alone (target: under 50 ms more)\n",
                    host, host - renderer);
    }
    std::printf("this process's first graphics call (ShowCursor): %.0f ms\n", firstCall);
    return 0;
}
