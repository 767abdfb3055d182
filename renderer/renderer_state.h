#pragma once
// Every value of the renderer that lives as long as the program, in one
// record: what the loop, the window procedure, the frame and the scene share.
// (The window's handles are in RendererWindow; the scene's tree and sprites in
// StrikeScene.) A test starts afresh with rendererState = {}.
#include <cstdint>

namespace fulmina {

struct RendererState {
    // The outer loop builds windows while keepRunning; wantFullScreen is the
    // choice for the next opening.
    bool keepRunning = false;
    bool wantFullScreen = true;

    // An Escape key-down that the frame has not yet acted on. The key table
    // only says whether a key is down now, so a quick tap whose key-up comes
    // in the same pass of the message pump would otherwise be lost.
    bool escapePressed = false;

    // The scene-wide values: the tumble in degrees (the sprites undo it to
    // face the viewer) and the blink schedule, counted in drawn frames.
    float spinX = 0;
    float spinY = 0;
    float spinZ = 0;
    std::int32_t blinkCounter = 0;
    bool boltsVisible = true;

    // The random generator's state: never seeded, so every run animates alike.
    std::uint32_t randState = 1;
};

extern RendererState rendererState;

}  // namespace fulmina
