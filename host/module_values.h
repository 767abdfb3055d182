#pragma once
// The host's module values, in one record: what start-up, the saver
// controller, the preview, the music player and the settings dialog share.
// A test starts afresh with Fulmina_B = {}.
#include <cstdint>
#include <optional>

#include "host/settings_file.h"

namespace fulmina {

struct HostModuleValues {
    // Receives the result of most Windows calls of the host; read only right
    // after the call that set it.
    std::int32_t ApiResult = 0;
    // What ShowCursor returned when the saver hid the cursor in mode S, and
    // again when it showed it at the end; empty in every other mode.
    std::optional<int> SavedCursorCount;
    // The screen point the settings dialog zooms open from and shut to.
    std::int16_t ZoomOriginX = 0;
    std::int16_t ZoomOriginY = 0;
    // The in-memory settings: filled from the settings file at start,
    // edited by the settings dialog, read by the saver and its music.
    Settings settings;
};

// Named after the start-up module that owns these values.
extern HostModuleValues Fulmina_B;

}  // namespace fulmina
