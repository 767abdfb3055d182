#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace fulmina::assets {

constexpr int skinWidth = 64;
constexpr int skinHeight = 25;
constexpr int skinBorder = 4;

// The command button's six skin pictures, in this order: idle, hovered,
// focused, focused and hovered, pressed, disabled. Each is a framed button
// face whose outer skinBorder pixels are the frame; the button copies only the
// frame, so every frame pixel depends only on its side and its depth into
// the frame, and the edges stretch without change. The inside is a green-tinged
// grey that no button face shows. RGB, rows top-down.
constexpr int skinCount = 6;
constexpr std::array<const char*, skinCount> skinNames = {"normal",          "highlight", "selected",
                                                          "highlightselect", "pressed",   "disable"};
std::vector<std::uint8_t> makeSkinPicture(int index);

// The inside colour, never to be seen on a face.
constexpr std::uint8_t skinInside[3] = {214, 238, 214};

}  // namespace fulmina::assets
