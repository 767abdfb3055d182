#pragma once
// A hidden window with an OpenGL context, for the Windows tests that need
// one current (texture creation).
#include <windows.h>

namespace testgl {

class HiddenGlWindow {
public:
    HiddenGlWindow() {
        WNDCLASSA wc{};
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FulminaTestGL";
        RegisterClassA(&wc);
        window_ = CreateWindowA("FulminaTestGL", "test", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr,
                                nullptr, wc.hInstance, nullptr);
        if (window_ == nullptr) return;
        dc_ = GetDC(window_);
        PIXELFORMATDESCRIPTOR pfd{};
        pfd.nSize = sizeof(pfd);
        pfd.nVersion = 1;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        pfd.iPixelType = PFD_TYPE_RGBA;
        pfd.cColorBits = 24;
        pfd.cDepthBits = 16;
        const int format = ChoosePixelFormat(dc_, &pfd);
        if (format == 0 || !SetPixelFormat(dc_, format, &pfd)) return;
        context_ = wglCreateContext(dc_);
        if (context_ != nullptr) wglMakeCurrent(dc_, context_);
    }
    ~HiddenGlWindow() {
        if (context_ != nullptr) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(context_);
        }
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
        if (window_ != nullptr) DestroyWindow(window_);
        UnregisterClassA("FulminaTestGL", GetModuleHandleA(nullptr));
    }
    HiddenGlWindow(const HiddenGlWindow&) = delete;
    HiddenGlWindow& operator=(const HiddenGlWindow&) = delete;
    bool ok() const { return context_ != nullptr; }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
};

}  // namespace testgl
