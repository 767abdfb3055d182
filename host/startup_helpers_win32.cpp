#include "host/startup_helpers_win32.h"

#include "host/module_values.h"

namespace fulmina {

namespace {

LARGE_INTEGER entry{};

void zoom(HWND window, bool opening) {
    const RECT point{Fulmina_B.ZoomOriginX, Fulmina_B.ZoomOriginY, Fulmina_B.ZoomOriginX, Fulmina_B.ZoomOriginY};
    RECT frame{};
    GetWindowRect(window, &frame);
    DrawAnimatedRects(window, IDANI_CAPTION, opening ? &point : &frame, opening ? &frame : &point);
}

}  // namespace

void markEntry() { QueryPerformanceCounter(&entry); }

double millisecondsSinceEntry() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - entry.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void ZoomOpenFromPoint(HWND window) { zoom(window, true); }
void ZoomCloseToPoint(HWND window) { zoom(window, false); }

}  // namespace fulmina
