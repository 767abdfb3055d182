#include "renderer/letterbox.h"

namespace fulmina {

Viewport letterbox(std::int32_t sceneWidth, std::int32_t sceneHeight, std::int32_t screenWidth,
                   std::int32_t screenHeight) {
    if (sceneWidth < 1 || sceneHeight < 1 || screenWidth < 1 || screenHeight < 1) return {};
    // Compared as products, in 64 bits: no rounding decides which side fits.
    const std::int64_t wide = static_cast<std::int64_t>(screenWidth) * sceneHeight;
    const std::int64_t tall = static_cast<std::int64_t>(screenHeight) * sceneWidth;
    Viewport v;
    if (wide >= tall) {  // bars left and right
        v.height = screenHeight;
        v.width = static_cast<std::int32_t>((tall + sceneHeight / 2) / sceneHeight);
    } else {  // bars above and below
        v.width = screenWidth;
        v.height = static_cast<std::int32_t>((wide + sceneWidth / 2) / sceneWidth);
    }
    v.x = (screenWidth - v.width) / 2;
    v.y = (screenHeight - v.height) / 2;
    return v;
}

}  // namespace fulmina
