#pragma once
#include <windows.h>

#include "renderer/frame.h"
#include "renderer/renderer_window_win32.h"

namespace fulmina {

// One frame of the lightning, without its swap: the update with the
// GetTickCount milliseconds since the last frame (Escape, or a scene that
// cannot start, asks the program to end), then the draw.
void lightningFrame(RendererWindow& w, FrameContext& frame);

// The message pump of an open window, until it takes WM_QUIT. Every waiting
// message comes first (dispatched without TranslateMessage); while the window
// is minimised the pump waits for messages; otherwise it draws a frame with
// drawFrame and swaps whenever the pacer (a FramePacer, or anything with its
// frameDue and frameSwapped) has one due. The pacer's waits end on any new
// message, which the pump then takes before it asks again.
template <typename Pacer, typename DrawFrame>
void runFrameLoop(RendererWindow& w, Pacer& pacer, DrawFrame&& drawFrame) {
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, w.window, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return;
            DispatchMessageA(&msg);
        } else if (w.visible == 0) {
            WaitMessage();
        } else if (pacer.frameDue()) {
            drawFrame();
            SwapBuffers(w.dc);
            pacer.frameSwapped();
        }
    }
}

}  // namespace fulmina
