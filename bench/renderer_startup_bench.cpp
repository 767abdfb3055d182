// Time from starting the renderer to its window "Fulmina_VC" existing, the
// moment the saver host's watch can first see it. The window is then closed.
//   renderer_startup_bench PATH\Fulmina.dll [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PATH\\Fulmina.dll [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> millis;
    for (int run = 0; run < runs; ++run) {
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        LARGE_INTEGER start, now;
        QueryPerformanceCounter(&start);
        if (!CreateProcessA(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            std::fprintf(stderr, "cannot start %s\n", argv[1]);
            return 1;
        }
        HWND window = nullptr;
        for (int i = 0; i < 10000 && window == nullptr; ++i) {
            window = FindWindowA(nullptr, "Fulmina_VC");
            if (window == nullptr) Sleep(1);
        }
        QueryPerformanceCounter(&now);
        if (window != nullptr) {
            millis.push_back((now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    if (millis.empty()) {
        std::fprintf(stderr, "the window never appeared\n");
        return 1;
    }
    std::sort(millis.begin(), millis.end());
    std::printf("start to window \"Fulmina_VC\": median %.0f ms, best %.0f ms, worst %.0f ms over %zu runs "
                "(target: under 150 ms)\n",
                millis[millis.size() / 2], millis.front(), millis.back(), millis.size());
    return 0;
}
