#pragma once
#include <windows.h>

#include "renderer/frame_pacer.h"

namespace fulmina {

// Starts the pacer for a newly opened window: reads the display's refresh
// rate and, where WGL_EXT_swap_control exists, asks the swap to wait for the
// interval closest to 60 frames a second. Needs the window's context current.
void startPacing(FramePacer& pacer, HDC dc);

}  // namespace fulmina
