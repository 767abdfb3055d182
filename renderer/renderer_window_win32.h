#pragma once
#include <windows.h>

#include <cstdint>

#include "common/saver_contract.h"
#include "renderer/dark_monitors_win32.h"
#include "renderer/foreground_rule.h"
#include "renderer/frame.h"

namespace fulmina {

struct RendererApp {
    HINSTANCE instance = nullptr;
    const char* className = contract::windowClass;
};

// The program's one window record.
struct RendererWindow {
    KeyTable* keys = nullptr;
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
    RendererApp* app = nullptr;
    const char* title = contract::windowTitle;
    std::int32_t width = 1024;
    std::int32_t height = 768;
    std::int32_t bitsPerPixel = 16;
    std::int32_t fullScreen = 1;  // 1: a borderless topmost window, the rest of the desktop dark
    std::int32_t visible = 0;     // 0 while minimised: wait for messages instead of drawing
    std::uint32_t lastTick = 0;  // GetTickCount of the last frame
    // Full screen, the display mode was switched for this opening and goes
    // back at its closing. Where it could not be (a remote session, many
    // virtual machines), the window is the scene's 4 : 3 in the middle of the
    // primary monitor as it is, and the dark windows cover the rest.
    bool modeSwitched = false;
    DarkMonitors darkMonitors;   // the other monitors, black while full screen
    ForegroundRule foreground;   // when the keyboard is not this window's, the end
};

// Private message that switches between full screen and a window.
constexpr UINT msgSwitchDisplay = WM_USER + 1;

bool registerRendererClass(const RendererApp& app);
bool openRendererWindow(RendererWindow& w);
bool closeRendererWindow(RendererWindow& w);
bool setDisplayMode(int width, int height, int bitsPerPixel);
void requestExit(RendererWindow& w);
LRESULT CALLBACK rendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace fulmina
