#include "forms/application_win32.h"

#include <windows.h>

#include "common/handles_win32.h"

#include "forms/units.h"

namespace forms {

namespace {
int loadedForms = 0;

int screenPixelsPerInch(int index) {
    handles::WindowDc screen;
    return GetDeviceCaps(screen.get(), index);
}
}  // namespace

void formLoaded() { ++loadedForms; }

void formUnloaded() {
    if (loadedForms > 0 && --loadedForms == 0) PostQuitMessage(0);
}

int loadedFormCount() { return loadedForms; }

int runMessageLoop() {
    if (loadedForms == 0) return 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

void endProcess() { ExitProcess(0); }

bool registerWindowClass(const wchar_t* name, WNDPROC windowProc, UINT style) {
    WNDCLASSW wc{};
    wc.style = style;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

namespace {
HCURSOR screenWide = nullptr;
}  // namespace

void setScreenMousePointer(int pointer) {
    screenWide = pointer == 11 ? LoadCursorW(nullptr, IDC_WAIT) : nullptr;
    SetCursor(screenWide != nullptr ? screenWide : LoadCursorW(nullptr, IDC_ARROW));
}

HCURSOR screenMousePointer() { return screenWide; }

// The screen's resolution is fixed for the life of a process that does not
// declare itself aware of DPI changes, as this one does not.
double twipsPerPixelX() {
    static const double tpp = twipsPerPixel(screenPixelsPerInch(LOGPIXELSX));
    return tpp;
}
double twipsPerPixelY() {
    static const double tpp = twipsPerPixel(screenPixelsPerInch(LOGPIXELSY));
    return tpp;
}

}  // namespace forms
