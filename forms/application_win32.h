#pragma once

namespace forms {

// The process lives while forms are loaded: the message loop ends when the
// last one unloads. An explicit end is immediate: no further events run.
void formLoaded();
void formUnloaded();
int loadedFormCount();
int runMessageLoop();
[[noreturn]] void endProcess();

// Twips per pixel of the screen, horizontally and vertically.
double twipsPerPixelX();
double twipsPerPixelY();

}  // namespace forms
