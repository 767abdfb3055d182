#pragma once
// Puts the scene-wide values back to their start, between tests.
#include "renderer/crt_rand.h"
#include "renderer/scene_values.h"

inline void resetSceneValues() {
    fulmina::spinX = fulmina::spinY = fulmina::spinZ = 0;
    fulmina::blinkCounter = 0;
    fulmina::boltsVisible = true;
    fulmina::setRandState(1);
}
