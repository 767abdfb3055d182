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

// Median milliseconds from CreateProcess to the window, over runs.
double startToWindow(const char* program, char* commandLine, int runs) {
    std::vector<double> millis;
    for (int run = 0; run < runs; ++run) {
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        LARGE_INTEGER start, now;
        QueryPerformanceCounter(&start);
        if (!CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            std::fprintf(stderr, "cannot start %s\n", program);
            return -1;
        }
        HWND window = nullptr;
        for (int i = 0; i < 10000 && window == nullptr; ++i) {
            window = FindWindowA(nullptr, windowTitle);
            if (window == nullptr) Sleep(1);
        }
        QueryPerformanceCounter(&now);
        if (window != nullptr) {
            millis.push_back(millisBetween(start, now));
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        WaitForSingleObject(pi.hProcess, 10000);
        // A host started here ends on its own once the renderer has gone.
        while (FindWindowA(nullptr, windowTitle) != nullptr) Sleep(10);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    if (millis.empty()) return -1;
    std::sort(millis.begin(), millis.end());
    return millis[millis.size() / 2];
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
    const double plain = startToWindow(self, plainCommand, runs);
    const double renderer = startToWindow(argv[1], nullptr, runs);
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
        const double host = startToWindow(argv[3], hostCommand, runs);
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
