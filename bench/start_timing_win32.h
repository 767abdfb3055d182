#pragma once
// Timing a program's start from outside: from CreateProcess to the moment a
// window of it is ready, the median over several runs.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

// ready() gives the program's window once it counts as started, else null.
// Each run then closes that window and waits for the process to end and the
// window to be gone. -1 when the program cannot be started or never got ready.
inline double medianMillisToWindow(const char* program, char* commandLine, int runs,
                                   const std::function<HWND()>& ready) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> millis;
    for (int run = 0; run < runs; ++run) {
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        LARGE_INTEGER start, now;
        QueryPerformanceCounter(&start);
        if (!CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
        HWND window = nullptr;
        for (int i = 0; i < 10000 && (window = ready()) == nullptr; ++i) Sleep(1);
        QueryPerformanceCounter(&now);
        if (window != nullptr) {
            millis.push_back(static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
                             static_cast<double>(frequency.QuadPart));
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        WaitForSingleObject(pi.hProcess, 10000);
        // A saver host ends on its own once its renderer has gone.
        for (int i = 0; i < 1000 && ready() != nullptr; ++i) Sleep(10);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    if (millis.empty()) return -1;
    std::sort(millis.begin(), millis.end());
    return millis[millis.size() / 2];
}

}  // namespace bench
