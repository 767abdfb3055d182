#include "renderer/texture_size.h"

#include <cmath>

namespace fulmina {

std::int32_t powerOfTwoSide(std::int32_t side, std::int32_t maxSide) {
    const double s = side <= maxSide ? side : maxSide;
    if (s < 1) return 0;  // a picture without pixels has no texture size
    const int exponent = static_cast<int>(std::floor(std::log(s) / std::log(2.0) + 0.5));
    return static_cast<std::int32_t>(std::pow(2.0, exponent));
}

void bgrxToRgba(std::uint8_t* pixels, std::size_t pixelCount) {
    for (std::size_t i = 0; i < pixelCount; ++i, pixels += 4) {
        const std::uint8_t blue = pixels[0];
        pixels[0] = pixels[2];
        pixels[2] = blue;
        pixels[3] = 255;
    }
}

}  // namespace fulmina
