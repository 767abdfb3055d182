#pragma once
#include <cstddef>
#include <cstdint>

namespace fulmina {

// The texture side for a picture side, rounded to the nearest power of two on
// a logarithmic scale (724 -> 512, 725 -> 1024); a side above maxSide is
// rounded from maxSide instead. A side below 1 gives 0.
std::int32_t powerOfTwoSide(std::int32_t side, std::int32_t maxSide);

// Turns 32-bit BGRX pixels, as GDI leaves them, into RGBA with full alpha.
void bgrxToRgba(std::uint8_t* pixels, std::size_t pixelCount);

}  // namespace fulmina
