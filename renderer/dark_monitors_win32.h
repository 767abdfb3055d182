#pragma once
#include <windows.h>

#include <cstddef>
#include <vector>

#include "common/handles_win32.h"
#include "renderer/dark_monitors.h"

namespace fulmina {

// Black windows over every part of the monitors that the full-screen
// renderer's window leaves showing. They have their own class and no title
// (the host looks for the renderer's window by its title), never take the
// activation or the keyboard, show no pointer, and do no work per frame: each
// is painted black once, when it is placed.
class DarkMonitors {
public:
    DarkMonitors() = default;
    ~DarkMonitors() { uncover(); }
    DarkMonitors(const DarkMonitors&) = delete;
    DarkMonitors& operator=(const DarkMonitors&) = delete;

    // Places the windows for the monitors as they are now, around the
    // renderer's window (which owns them): called after the opening and again
    // whenever the desktop's layout changes. The windows already there are
    // moved, missing ones made, surplus ones destroyed.
    void cover(HWND renderer, HINSTANCE instance);
    // Destroys them all; nothing is left over the desktop.
    void uncover();

    std::size_t count() const { return windows.size(); }
    HWND window(std::size_t i) const { return windows[i].get(); }

private:
    std::vector<handles::Window> windows;
    HINSTANCE classInstance = nullptr;  // set while the class is registered
};

// The monitors' rectangles in virtual-screen pixels, in the system's order.
std::vector<ScreenRect> monitorRectangles();

}  // namespace fulmina
