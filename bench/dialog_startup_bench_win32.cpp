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

#include "bench/start_timing_win32.h"

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

// The window once the banner's place is drawn: dark, where the panels are light.
HWND drawn(const wchar_t* caption) {
    HWND w = FindWindowW(nullptr, caption);
    if (w == nullptr || !IsWindowVisible(w)) return nullptr;
    POINT p = banner;
    ClientToScreen(w, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 300 ? w : nullptr;
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
    const double bare = bench::medianMillisToWindow(self, bareCommand, runs, [] { return drawn(bareCaption); });
    const double dialog =
        bench::medianMillisToWindow(argv[1], dialogCommand, runs, [] { return drawn(dialogCaption); });
    if (bare < 0 || dialog < 0) {
        std::fprintf(stderr, "a window was never drawn\n");
        return 1;
    }
    std::printf("start to drawn, median over %d runs: \"Fulmina.scr /c\" %.0f ms, bare window %.0f ms: the dialog adds "
                "%.0f ms (target: under 100 ms)\n",
                runs, dialog, bare, dialog - bare);
    return 0;
}
