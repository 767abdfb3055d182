#include "renderer/frame_loop_win32.h"

namespace fulmina {

void lightningFrame(RendererWindow& w, FrameContext& frame) {
    const DWORD now = GetTickCount();
    // A full-screen window that the system never gave the keyboard covers
    // everything while Escape goes elsewhere: it ends as on Escape.
    if (w.foreground.waitingForKeyboard() && w.foreground.keyboardCheck(GetForegroundWindow() == w.window, now))
        requestExit(w);
    if (frameUpdate(frame, elapsedTicks(w.lastTick, now))) requestExit(w);
    w.lastTick = now;
    frameDraw(frame);
}

}  // namespace fulmina
