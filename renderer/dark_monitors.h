#pragma once
// Where the black windows go while the renderer is full screen: every part of
// the desktop's monitors that the renderer's window does not cover, so that no
// monitor goes on showing the desktop while the saver runs.
#include <cstdint>
#include <vector>

namespace fulmina {

// A rectangle in virtual-screen pixels, right and bottom exclusive (as RECT).
struct ScreenRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const ScreenRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The monitors' rectangles minus the renderer's: a monitor the renderer does
// not touch whole, one it covers partly as up to four bands around it (above
// and below across the monitor's width, left and right beside it), one it
// covers wholly not at all. A monitor listed twice (mirrored) gives its
// rectangles once. In the order of the monitors.
std::vector<ScreenRect> darkRectangles(const std::vector<ScreenRect>& monitors, const ScreenRect& renderer);

}  // namespace fulmina
