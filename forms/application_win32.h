#pragma once

#include <windows.h>

namespace forms {

// The process lives while forms are loaded: the message loop ends when the
// last one unloads. An explicit end is immediate: no further events run.
void formLoaded();
void formUnloaded();
int loadedFormCount();
int runMessageLoop();
[[noreturn]] void endProcess();

// Registers a window class of this program with the arrow pointer; true
// once it exists.
bool registerWindowClass(const wchar_t* name, WNDPROC windowProc, UINT style = 0);

// The screen-wide mouse pointer: 0 lets each window show its own, 11 is the
// hourglass over every form of the program.
void setScreenMousePointer(int pointer);
HCURSOR screenMousePointer();

// Twips per pixel of the screen, horizontally and vertically.
double twipsPerPixelX();
double twipsPerPixelY();

}  // namespace forms
