#include "renderer/letterbox.h"

namespace fulmina {

ScreenRect letterbox(std::int32_t sceneWidth, std::int32_t sceneHeight, const ScreenRect& screen) {
    const std::int64_t screenWidth = static_cast<std::int64_t>(screen.right) - screen.left;
    const std::int64_t screenHeight = static_cast<std::int64_t>(screen.bottom) - screen.top;
    if (sceneWidth < 1 || sceneHeight < 1 || screenWidth < 1 || screenHeight < 1)
        return {screen.left, screen.top, screen.left, screen.top};
    // Compared as products, in 64 bits: no rounding decides which side fits.
    const std::int64_t wide = screenWidth * sceneHeight;
    const std::int64_t tall = screenHeight * sceneWidth;
    std::int64_t width = screenWidth;
    std::int64_t height = screenHeight;
    if (wide >= tall)
        width = (tall + sceneHeight / 2) / sceneHeight;  // bars left and right
    else
        height = (wide + sceneWidth / 2) / sceneWidth;  // bars above and below
    const auto left = static_cast<std::int32_t>(screen.left + (screenWidth - width) / 2);
    const auto top = static_cast<std::int32_t>(screen.top + (screenHeight - height) / 2);
    return {left, top, static_cast<std::int32_t>(left + width), static_cast<std::int32_t>(top + height)};
}

}  // namespace fulmina
