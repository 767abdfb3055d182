// Fulmina.scr: the screen-saver host.
#include <windows.h>

#include "forms/application.h"
#include "host/fulmina_b.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    fulmina::Main();
    return forms::runMessageLoop();
}
