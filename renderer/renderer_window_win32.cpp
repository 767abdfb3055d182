#include "renderer/renderer_window_win32.h"

#include "renderer/gl_api.h"
#include "renderer/letterbox.h"
#include "renderer/renderer_state.h"

namespace fulmina {

namespace {
constexpr UINT_PTR scScreenSave = 0xF140;
constexpr UINT_PTR scMonitorPower = 0xF170;
// The four low bits of a system command are the system's own.
constexpr UINT_PTR systemCommandMask = 0xFFF0;
constexpr UINT wmDpiChanged = 0x02E0;

RendererWindow* windowRecord(HWND window) {
    return reinterpret_cast<RendererWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

PIXELFORMATDESCRIPTOR pixelFormatFor(const RendererWindow& w) {
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof(pfd);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = static_cast<BYTE>(w.bitsPerPixel);
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

// Where the window goes over a primary monitor whose mode it did not switch:
// the scene's 4 : 3 at the largest size that fits, centred; the dark
// windows cover the rest. The primary is the monitor at the origin of the
// virtual screen, in physical pixels (the renderer is per-monitor DPI aware).
RECT letterboxedOnPrimary(const RendererWindow& w) {
    const ScreenRect r =
        letterbox(w.width, w.height, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return RECT{r.left, r.top, r.right, r.bottom};
}

// A failed opening releases what it had acquired (context, DC, window) through
// the ordinary closing, which also gives back a display mode switched for this
// opening, with the cursor: a failure never leaves the user at 1024 x 768
// without a pointer.
bool abandonOpening(RendererWindow& w) {
    closeRendererWindow(w);
    return false;
}
}  // namespace

bool registerRendererClass(const RendererApp& app) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    wc.lpfnWndProc = rendererWindowProc;
    wc.hInstance = app.instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE));
    wc.lpszClassName = app.className;
    return RegisterClassExA(&wc) != 0;
}

bool setDisplayMode(int width, int height, int bitsPerPixel) {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = static_cast<DWORD>(bitsPerPixel);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

bool openRendererWindow(RendererWindow& w) {
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = WS_EX_APPWINDOW;
    RECT rect{0, 0, w.width, w.height};
    const PIXELFORMATDESCRIPTOR pfd = pixelFormatFor(w);

    if (w.fullScreen == 1) {
        // Full screen whether or not the mode could be switched: nothing of
        // the desktop may show while the saver runs.
        w.modeSwitched = setDisplayMode(w.width, w.height, w.bitsPerPixel);
        if (!w.modeSwitched) rect = letterboxedOnPrimary(w);
        ShowCursor(FALSE);
        style = WS_POPUP;
        exStyle |= WS_EX_TOPMOST;
    } else {
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }

    w.foreground.opened(w.fullScreen == 1, GetTickCount());
    const bool letterboxed = w.fullScreen == 1 && !w.modeSwitched;
    w.window = CreateWindowExA(exStyle, w.app->className, w.title, style, letterboxed ? rect.left : 0,
                               letterboxed ? rect.top : 0, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                               nullptr, w.app->instance, &w);
    if (w.window == nullptr) return abandonOpening(w);
    w.dc = GetDC(w.window);
    if (w.dc == nullptr) return abandonOpening(w);
    const int format = ChoosePixelFormat(w.dc, &pfd);
    if (format == 0 || !SetPixelFormat(w.dc, format, &pfd)) return abandonOpening(w);
    w.context = wglCreateContext(w.dc);
    if (w.context == nullptr || !wglMakeCurrent(w.dc, w.context))
        return abandonOpening(w);

    ShowWindow(w.window, SW_SHOWNORMAL);
    SetForegroundWindow(w.window);  // the keyboard, for Escape; the host allowed it
    if (w.fullScreen == 1) w.darkMonitors.cover(w.window, w.app->instance);
    w.visible = 1;
    // The nominal size, whatever the client area; letterboxed, the borderless
    // window's own.
    if (letterboxed)
        setProjection(rect.right - rect.left, rect.bottom - rect.top);
    else
        setProjection(w.width, w.height);
    w.keys->fill(0);
    w.lastTick = GetTickCount();
    return true;
}

bool closeRendererWindow(RendererWindow& w) {
    w.darkMonitors.uncover();  // before the display mode goes back
    if (w.window != nullptr) {
        if (w.dc != nullptr) {
            wglMakeCurrent(w.dc, nullptr);
            if (w.context != nullptr) {
                wglDeleteContext(w.context);
                w.context = nullptr;
            }
            ReleaseDC(w.window, w.dc);
            w.dc = nullptr;
        }
        w.foreground.closed();  // its deactivation now is no other program's doing
        DestroyWindow(w.window);
        w.window = nullptr;
    }
    if (w.fullScreen != 0) {
        if (w.modeSwitched) ChangeDisplaySettingsA(nullptr, 0);
        w.modeSwitched = false;
        ShowCursor(TRUE);
    }
    return true;
}

void requestExit(RendererWindow& w) {
    PostMessageA(w.window, WM_QUIT, 0, 0);
    rendererState.keepRunning = false;
}

LRESULT CALLBACK rendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    RendererWindow* w = windowRecord(window);
    switch (message) {
        case WM_CREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            return 0;
        }
        case WM_SIZE:
            if (w == nullptr) break;
            if (wParam == SIZE_MINIMIZED) {
                w->visible = 0;
                return 0;
            }
            if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
                w->visible = 1;
                setProjection(LOWORD(lParam), HIWORD(lParam));
                return 0;
            }
            break;
        case WM_CLOSE:
            if (w != nullptr) requestExit(*w);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (wParam <= 255 && w != nullptr) {
                (*w->keys)[wParam] = message == WM_KEYDOWN ? 1 : 0;
                // Remembered until a frame sees it: its key-up may come first.
                if (message == WM_KEYDOWN && wParam == VK_ESCAPE) rendererState.escapePressed = true;
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            // No screen saver and no monitor power-down while the renderer runs.
            if ((wParam & systemCommandMask) == scScreenSave || (wParam & systemCommandMask) == scMonitorPower)
                return 0;
            break;
        case WM_DISPLAYCHANGE:
            // A monitor added, removed or moved, or the primary's resolution
            // changed by another hand: a window over a primary whose mode it
            // did not switch follows it (its WM_SIZE sets the viewport), and
            // the dark follows the desktop.
            if (w != nullptr && w->fullScreen == 1 && IsWindowVisible(window)) {
                if (!w->modeSwitched) {
                    const RECT r = letterboxedOnPrimary(*w);
                    SetWindowPos(window, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                 SWP_NOACTIVATE);
                }
                w->darkMonitors.cover(window, w->app->instance);
            }
            break;
        case wmDpiChanged:
            // The mode switch may give the monitor another scale. The window
            // is placed in physical pixels and stays where it is: the
            // rectangle the system suggests is for windows that scale.
            return 0;
        case WM_ACTIVATEAPP:
            // Another program took the foreground (a log-on prompt, a program
            // asking for the keyboard): the saver ends as on Escape, so that
            // nothing covers what the user now types into.
            if (w == nullptr) break;
            if (wParam) w->foreground.activated();
            else if (w->foreground.deactivated()) requestExit(*w);
            return 0;
        case msgSwitchDisplay:
            // The outer loop closes this window and opens one in the other mode.
            rendererState.wantFullScreen = !rendererState.wantFullScreen;
            PostMessageA(window, WM_QUIT, 0, 0);
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace fulmina
