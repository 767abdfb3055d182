#include "assets/button_skins.h"

#include <algorithm>

namespace fulmina::assets {

namespace {
struct Rgb {
    std::uint8_t r, g, b;
};

// A frame: its outer line, and its three inner rings on the top and left
// sides and on the bottom and right sides (a pressed frame is lit from below).
struct Frame {
    Rgb outer;
    Rgb topLeft[3];
    Rgb bottomRight[3];
};

constexpr Rgb slate{112, 112, 140};
constexpr Rgb blue{52, 86, 178};
constexpr Rgb lavender[3] = {{238, 237, 246}, {226, 225, 236}, {214, 213, 228}};
constexpr Rgb gold[3] = {{255, 214, 112}, {250, 190, 64}, {236, 164, 40}};
constexpr Rgb sky[3] = {{170, 200, 250}, {138, 174, 238}, {110, 150, 224}};

constexpr Frame frames[skinCount] = {
    {slate, {lavender[0], lavender[1], lavender[2]}, {lavender[0], lavender[1], lavender[2]}},  // idle
    {slate, {gold[0], gold[1], gold[2]}, {gold[0], gold[1], gold[2]}},                          // hovered
    {blue, {sky[0], sky[1], sky[2]}, {sky[0], sky[1], sky[2]}},                                 // focused
    {blue, {sky[0], gold[1], gold[2]}, {sky[0], gold[1], gold[2]}},                             // focused, hovered
    {{60, 58, 88}, {{120, 118, 146}, {146, 144, 170}, {172, 170, 194}},                         // pressed: sunk
     {{236, 235, 244}, {224, 223, 236}, {212, 211, 228}}},
    {{176, 176, 182}, {{232, 232, 232}, {228, 228, 228}, {224, 224, 224}},                      // disabled
     {{232, 232, 232}, {228, 228, 228}, {224, 224, 224}}},
};

Rgb mix(Rgb a, Rgb b) {
    return {static_cast<std::uint8_t>((a.r + b.r) / 2), static_cast<std::uint8_t>((a.g + b.g) / 2),
            static_cast<std::uint8_t>((a.b + b.b) / 2)};
}
}  // namespace

std::vector<std::uint8_t> makeSkinPicture(int index) {
    const Frame& frame = frames[std::clamp(index, 0, skinCount - 1)];
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(skinWidth) * skinHeight * 3);
    for (int y = 0; y < skinHeight; ++y)
        for (int x = 0; x < skinWidth; ++x) {
            const int fromLeft = x, fromTop = y, fromRight = skinWidth - 1 - x, fromBottom = skinHeight - 1 - y;
            const int depth = std::min({fromLeft, fromTop, fromRight, fromBottom});
            Rgb c{skinInside[0], skinInside[1], skinInside[2]};
            if (depth == 0) {
                c = frame.outer;
                // The four corner pixels are softened, for a rounded look.
                const bool corner = (fromLeft == 0 || fromRight == 0) && (fromTop == 0 || fromBottom == 0);
                if (corner) c = mix(frame.outer, frame.topLeft[0]);
            } else if (depth < skinBorder) {
                const bool lowerSide = depth == fromBottom || depth == fromRight;
                c = lowerSide ? frame.bottomRight[depth - 1] : frame.topLeft[depth - 1];
            }
            std::uint8_t* px = &rgb[(static_cast<std::size_t>(y) * skinWidth + x) * 3];
            px[0] = c.r;
            px[1] = c.g;
            px[2] = c.b;
        }
    return rgb;
}

}  // namespace fulmina::assets
