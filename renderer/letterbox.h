#pragma once
// Where the scene goes on a screen whose mode could not be switched: the
// 1024 x 768 picture keeps its 4 : 3 shape, as a monitor's own scaler shows a
// 4 : 3 mode, at the largest size that fits, centred. The renderer's window
// takes that rectangle and the black windows of the dark monitors the rest:
// GL draws wide lines past the edges of a viewport, but never past a window's.
#include <cstdint>

#include "renderer/dark_monitors.h"

namespace fulmina {

// The largest rectangle of the scene's proportions inside the screen,
// centred (a spare odd pixel goes to the right and the bottom). Sizes below 1
// give an empty rectangle at the screen's origin.
ScreenRect letterbox(std::int32_t sceneWidth, std::int32_t sceneHeight, const ScreenRect& screen);

}  // namespace fulmina
