#pragma once
// Start-up: the host's process entry and its mode dispatch.

#include <windows.h>

namespace fulmina {

// Decides in one pass what this process is: the saver, the preview in the
// control panel's pane, the settings, or nothing.
void Main();

// Milliseconds since Main began.
double millisecondsSinceEntry();

// The settings dialog's zoom: a rectangle growing from the point
// (ZoomOriginX, ZoomOriginY) to the window, and back.
void ZoomOpenFromPoint(HWND window);
void ZoomCloseToPoint(HWND window);

}  // namespace fulmina
