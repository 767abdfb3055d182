// A small Windows helper that the end-to-end tests drive from outside: it
// looks at and talks to the renderer's window the way Windows would.
//   probe find                      the window titled "Fulmina_VC": class, rectangle, style
//   probe wait-window MS            wait for it to exist (exit 1 on timeout)
//   probe wait-gone MS              wait for it to be gone (exit 1 on timeout)
//   probe syscommand WPARAM         send WM_SYSCOMMAND and print the answer
//   probe post close|switch         post WM_CLOSE or the display-switch message
//   probe mode                      the current display mode: width height bits
//   probe acp                       the ANSI code page
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND rendererWindow() { return FindWindowA(nullptr, "Fulmina_VC"); }

bool waitFor(bool present, DWORD millis) {
    const DWORD start = GetTickCount();
    do {
        if ((rendererWindow() != nullptr) == present) return true;
        Sleep(10);
    } while (GetTickCount() - start < millis);
    return false;
}

int find() {
    HWND w = rendererWindow();
    if (w == nullptr) {
        std::puts("none");
        return 1;
    }
    char className[64] = {};
    GetClassNameA(w, className, sizeof(className));
    RECT r;
    GetWindowRect(w, &r);
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(w, GWL_EXSTYLE);
    std::printf("class=%s left=%ld top=%ld right=%ld bottom=%ld popup=%d topmost=%d visible=%d\n", className,
                r.left, r.top, r.right, r.bottom, (style & WS_POPUP) != 0, (exStyle & WS_EX_TOPMOST) != 0,
                IsWindowVisible(w) != 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const char* cmd = argv[1];
    const DWORD millis = argc > 2 ? static_cast<DWORD>(std::atol(argv[2])) : 0;
    if (std::strcmp(cmd, "find") == 0) return find();
    if (std::strcmp(cmd, "wait-window") == 0) return waitFor(true, millis) ? find() : 1;
    if (std::strcmp(cmd, "wait-gone") == 0) return waitFor(false, millis) ? 0 : 1;
    if (std::strcmp(cmd, "syscommand") == 0 && argc > 2) {
        HWND w = rendererWindow();
        if (w == nullptr) return 1;
        const WPARAM wParam = static_cast<WPARAM>(std::strtoul(argv[2], nullptr, 0));
        std::printf("%ld\n", static_cast<long>(SendMessageA(w, WM_SYSCOMMAND, wParam, 0)));
        return 0;
    }
    if (std::strcmp(cmd, "post") == 0 && argc > 2) {
        HWND w = rendererWindow();
        if (w == nullptr) return 1;
        const UINT message = std::strcmp(argv[2], "close") == 0 ? WM_CLOSE : WM_USER + 1;
        return PostMessageA(w, message, 0, 0) ? 0 : 1;
    }
    if (std::strcmp(cmd, "mode") == 0) {
        DEVMODEA mode{};
        mode.dmSize = sizeof(mode);
        if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 1;
        std::printf("%lu %lu %lu\n", mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
        return 0;
    }
    if (std::strcmp(cmd, "acp") == 0) {
        std::printf("%u\n", GetACP());
        return 0;
    }
    return 2;
}
