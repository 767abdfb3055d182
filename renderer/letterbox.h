#pragma once
// Where the scene goes on a screen whose mode could not be switched: the
// 1024 x 768 picture keeps its 4 : 3 shape, as a monitor's own scaler shows a
// 4 : 3 mode, at the largest size that fits, centred, with black around it.
#include <cstdint>

namespace fulmina {

// A GL viewport: origin at the bottom left of the window's client area.
struct Viewport {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const Viewport& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

// The largest rectangle of the scene's proportions inside a screen of the
// given size, centred (a spare odd pixel goes to the right and the top).
// Sizes below 1 give an empty viewport.
Viewport letterbox(std::int32_t sceneWidth, std::int32_t sceneHeight, std::int32_t screenWidth,
                   std::int32_t screenHeight);

}  // namespace fulmina
