#pragma once
#include <array>
#include <cstdint>

namespace fulmina {

class StrikeScene;

// 1 while the key of that virtual-key code is down, 0 otherwise.
using KeyTable = std::array<std::int32_t, 256>;

constexpr int vkEscape = 27;

// The frame's view of the program: which scene runs, whether it has been
// initialised, and the key table it reads Escape from.
struct FrameContext {
    StrikeScene* scene = nullptr;
    const KeyTable* keys = nullptr;
    int activeScene = 1;
    int initialisedScene = 0;
    bool sceneFailed = false;
};

// Viewport and a 45-degree perspective for a client area of w x h.
void setProjection(int w, int h);

// The one-time OpenGL state after every window opening; after a later
// opening, the initialised scene's glow texture in the new context.
bool frameSetup(FrameContext& frame, const KeyTable& keys);

// Input check, scene update and, in the first frame, the scene's
// initialisation (after its first update). Returns true when the program
// should end: Escape is down, or was pressed since the last frame, or the
// scene could not be initialised.
bool frameUpdate(FrameContext& frame, std::uint32_t ms);

// Clears and draws the scene; draws nothing once the scene has failed.
void frameDraw(const FrameContext& frame);

// Milliseconds between two GetTickCount readings, across a wrap of the counter.
inline std::uint32_t elapsedTicks(std::uint32_t last, std::uint32_t now) { return now - last; }

}  // namespace fulmina
