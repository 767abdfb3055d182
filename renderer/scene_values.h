#pragma once
#include <cstdint>

namespace fulmina {

// Scene-wide values with static lifetime. The sprites read the spin to undo
// it, so that every glow square faces the viewer.
extern float spinX;  // degrees about X
extern float spinY;  // degrees about Y
extern float spinZ;  // degrees about Z
extern std::int32_t blinkCounter;  // frames drawn in the current blink cycle
extern bool boltsVisible;

}  // namespace fulmina
