// The saver host's CPU use while the saver runs: only its timers tick.
// Starts "Fulmina.scr /s", waits for the renderer's window, measures the
// host's processor time over a while, then closes the renderer.
//   host_cpu_bench PATH\Fulmina.scr [seconds]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "common/saver_contract.h"

namespace {
double cpuSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    auto seconds = [](const FILETIME& t) {
        return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PATH\\Fulmina.scr [seconds]\n", argv[0]);
        return 2;
    }
    const DWORD seconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 60;
    char command[MAX_PATH + 16];
    std::snprintf(command, sizeof(command), "\"%s\" /s", argv[1]);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(argv[1], command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "cannot start %s\n", argv[1]);
        return 1;
    }
    HWND window = nullptr;
    for (int i = 0; i < 1000 && window == nullptr; ++i) {
        window = FindWindowA(nullptr, fulmina::contract::windowTitle);
        if (window == nullptr) Sleep(10);
    }
    if (window == nullptr) {
        std::fprintf(stderr, "the renderer window never appeared\n");
        return 1;
    }
    Sleep(1000);  // past the start-up work
    const double before = cpuSeconds(pi.hProcess);
    Sleep(seconds * 1000);
    const double after = cpuSeconds(pi.hProcess);
    PostMessageA(FindWindowA(nullptr, fulmina::contract::windowTitle), WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("host processor time while the saver ran: %.3f s over %lu s = %.3f%% of one core "
                "(target: under 0.5%%); host ended after the renderer: %s\n",
                after - before, seconds, 100.0 * (after - before) / seconds, ended ? "yes" : "no");
    return 0;
}
