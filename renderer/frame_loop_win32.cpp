#include "renderer/frame_loop_win32.h"

namespace fulmina {

void lightningFrame(RendererWindow& w, FrameContext& frame) {
    const DWORD now = GetTickCount();
    if (frameUpdate(frame, elapsedTicks(w.lastTick, now))) requestExit(w);
    w.lastTick = now;
    frameDraw(frame);
}

}  // namespace fulmina
