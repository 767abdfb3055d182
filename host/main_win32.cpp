// Fulmina.scr: the screen-saver host.
#include <windows.h>

#include "forms/application_win32.h"
#include "host/startup_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    fulmina::Main();
    return forms::runMessageLoop();
}
