#include "assets/glow_picture.h"

#include <cmath>

namespace fulmina::assets {

namespace {
struct ProfilePoint {
    double distance;
    double r, g, b;
};

// Colour by distance from the centre, averaged over circles.
constexpr ProfilePoint profile[] = {
    {0, 255, 255, 255},  {10, 255, 255, 255}, {12, 242, 255, 254}, {16, 185, 246, 255},
    {20, 101, 206, 245}, {24, 38, 155, 222},  {28, 10, 108, 188},  {32, 2, 78, 157},
    {40, 1, 45, 106},    {48, 1, 23, 57},     {56, 1, 10, 24},     {64, 0, 0, 0},
};
}  // namespace

void glowProfile(double distance, std::uint8_t rgb[3]) {
    const ProfilePoint* lo = &profile[0];
    const ProfilePoint* hi = &profile[0];
    for (const ProfilePoint& p : profile) {
        hi = &p;
        if (p.distance >= distance) break;
        lo = &p;
    }
    if (distance >= hi->distance) lo = hi;
    const double span = hi->distance - lo->distance;
    const double t = span > 0 ? (distance - lo->distance) / span : 0;
    rgb[0] = static_cast<std::uint8_t>(std::lround(lo->r + (hi->r - lo->r) * t));
    rgb[1] = static_cast<std::uint8_t>(std::lround(lo->g + (hi->g - lo->g) * t));
    rgb[2] = static_cast<std::uint8_t>(std::lround(lo->b + (hi->b - lo->b) * t));
}

std::vector<std::uint8_t> makeGlowPicture() {
    std::vector<std::uint8_t> rgb(static_cast<size_t>(glowSide) * glowSide * 3, 0);
    const double centre = glowSide / 2.0;
    for (int y = 0; y < glowSide; ++y) {
        for (int x = 0; x < glowSide; ++x) {
            const double dx = x + 0.5 - centre;
            const double dy = y + 0.5 - centre;
            const double angle = std::atan2(dy, dx);
            // Some directions reach further than others: the glow is not quite round.
            const double warp = 1.0 + 0.05 * std::sin(3 * angle + 0.4) + 0.04 * std::sin(5 * angle + 1.3) +
                                0.03 * std::sin(7 * angle + 2.1);
            const double distance = std::hypot(dx, dy);
            if (distance >= 64) continue;  // black beyond the glow, whatever the warp
            std::uint8_t* px = &rgb[(static_cast<size_t>(y) * glowSide + x) * 3];
            glowProfile(distance * warp, px);
        }
    }
    return rgb;
}

}  // namespace fulmina::assets
