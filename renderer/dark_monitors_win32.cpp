#include "renderer/dark_monitors_win32.h"

#include "common/saver_contract.h"

namespace fulmina {

namespace {
LRESULT CALLBACK darkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEACTIVATE:
            // A click here must leave the keyboard with the renderer, for Escape.
            return MA_NOACTIVATE;
        case WM_SETCURSOR:
            SetCursor(nullptr);
            return TRUE;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

BOOL CALLBACK addMonitor(HMONITOR, HDC, LPRECT rect, LPARAM param) {
    auto* out = reinterpret_cast<std::vector<ScreenRect>*>(param);
    out->push_back({rect->left, rect->top, rect->right, rect->bottom});
    return TRUE;
}

// Moves a window to r above every other window, shows it without activating
// it and paints it (erase with the class's black brush) now, while the caller
// waits: the message pump takes only the renderer's own messages.
void place(HWND window, const ScreenRect& r) {
    SetWindowPos(window, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_UPDATENOW);
}
}  // namespace

std::vector<ScreenRect> monitorRectangles() {
    std::vector<ScreenRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

void DarkMonitors::cover(HWND renderer, HINSTANCE instance) {
    // Called from the renderer's window procedure: nothing may escape it.
    try {
        RECT own;
        if (!GetWindowRect(renderer, &own)) return;
        const std::vector<ScreenRect> dark =
            darkRectangles(monitorRectangles(), {own.left, own.top, own.right, own.bottom});
        if (classInstance == nullptr && !dark.empty()) {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = darkWindowProc;
            wc.hInstance = instance;
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
            wc.lpszClassName = contract::darkWindowClass;
            // A class another owner registered is used, and left to it.
            if (RegisterClassExA(&wc) != 0) {
                classInstance = instance;
            } else if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
                return;
            }
        }
        if (windows.size() > dark.size()) windows.erase(windows.begin() + dark.size(), windows.end());
        windows.reserve(dark.size());
        for (std::size_t i = 0; i < dark.size(); ++i) {
            if (i == windows.size()) {
                // Owned by the renderer's window: they go with it at the latest.
                HWND made = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                            contract::darkWindowClass, "", WS_POPUP, 0, 0, 0, 0, renderer, nullptr,
                                            instance, nullptr);
                if (made == nullptr) break;
                windows.emplace_back(made);
            }
            place(windows[i].get(), dark[i]);
        }
    } catch (...) {
        // Out of memory: the windows stay as they were.
    }
}

void DarkMonitors::uncover() {
    windows.clear();
    if (classInstance != nullptr) {
        UnregisterClassA(contract::darkWindowClass, classInstance);
        classInstance = nullptr;
    }
}

}  // namespace fulmina
