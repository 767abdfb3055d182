#pragma once
#include <cstdint>
#include <vector>

namespace fulmina::assets {

constexpr int glowSide = 128;

// The glow picture: a soft blue-white, not quite round glow on black,
// glowSide x glowSide pixels, RGB, rows top-down.
std::vector<std::uint8_t> makeGlowPicture();

// The glow's colour at a distance from the centre, before its unevenness.
void glowProfile(double distance, std::uint8_t rgb[3]);

}  // namespace fulmina::assets
