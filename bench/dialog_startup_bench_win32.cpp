// "Fulmina.scr /c" to the settings dialog fully drawn (the banner's first
// frame on the screen), beside a bare window of the same size that draws a
// dark square where the banner goes, started the same way.
//   dialog_startup_bench PATH\Fulmina.scr [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr wchar_t dialogCaption[] = L"\u2193Fulmina\u2193";
constexpr wchar_t bareCaption[] = L"Bare window";
constexpr POINT banner{72, 181};  // the banner's middle, in the client area

LRESULT CALLBACK bareProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        const RECT square{12, 156, 132, 206};
        FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EndPaint(w, &ps);
        return 0;
    }
    if (m == WM_CLOSE) PostQuitMessage(0);
    return DefWindowProcW(w, m, wp, lp);
}

int bareWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = bareProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"BareWindow";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(WS_EX_DLGMODALFRAME, L"BareWindow", bareCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                             100, 100, 467, 246, nullptr, nullptr, wc.hInstance, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(w);
    return 0;
}

// The banner's place is drawn: dark, where the panels are light.
bool drawn(const wchar_t* caption) {
    HWND w = FindWindowW(nullptr, caption);
    if (w == nullptr || !IsWindowVisible(w)) return false;
    POINT p = banner;
    ClientToScreen(w, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 300;
}

double startToDrawn(const char* program, char* commandLine, const wchar_t* caption, int runs) {
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
        bool seen = false;
        for (int i = 0; i < 10000 && !(seen = drawn(caption)); ++i) Sleep(1);
        QueryPerformanceCounter(&now);
        if (seen) millis.push_back(double(now.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
        PostMessageW(FindWindowW(nullptr, caption), WM_CLOSE, 0, 0);
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    if (millis.empty()) return -1;
    std::sort(millis.begin(), millis.end());
    return millis[millis.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--bare") == 0) return bareWindow();
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog_startup_bench PATH\\Fulmina.scr [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char bareCommand[MAX_PATH + 16], dialogCommand[MAX_PATH + 16];
    std::snprintf(bareCommand, sizeof(bareCommand), "\"%s\" --bare", self);
    std::snprintf(dialogCommand, sizeof(dialogCommand), "\"%s\" /c", argv[1]);
    const double bare = startToDrawn(self, bareCommand, bareCaption, runs);
    const double dialog = startToDrawn(argv[1], dialogCommand, dialogCaption, runs);
    if (bare < 0 || dialog < 0) {
        std::fprintf(stderr, "a window was never drawn\n");
        return 1;
    }
    std::printf("start to drawn, median over %d runs: \"Fulmina.scr /c\" %.0f ms, bare window %.0f ms: the dialog adds "
                "%.0f ms (target: under 100 ms)\n",
                runs, dialog, bare, dialog - bare);
    return 0;
}
