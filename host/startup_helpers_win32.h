#pragma once
// What start-up lends to the forms it starts: the time since the host's
// entry (the saver reports its share of the start with it) and the settings
// dialog's zoom.
#include <windows.h>

namespace fulmina {

// Notes the host's entry; Main calls it first.
void markEntry();

// Milliseconds since markEntry.
double millisecondsSinceEntry();

// The settings dialog's zoom: a rectangle growing from the point
// (ZoomOriginX, ZoomOriginY) to the window, and back.
void ZoomOpenFromPoint(HWND window);
void ZoomCloseToPoint(HWND window);

}  // namespace fulmina
