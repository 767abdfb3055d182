#pragma once
// Start-up and the host's module values.
#include <cstdint>
#include <optional>
#include <string>

#include "host/settings_file.h"

namespace fulmina {

// Receives the result of most Windows calls of the host; read only right
// after the call that set it.
extern std::int32_t ApiResult;
// What ShowCursor(FALSE) returned when the saver started in mode S.
extern std::optional<int> SavedCursorCount;
extern Settings settings;

// The process entry of the host: decides in one pass what this process is.
void Main();

}  // namespace fulmina
