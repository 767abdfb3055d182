#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace fulmina::assets {

// Writes an uncompressed 24-bit Windows bitmap file from RGB pixels in
// top-down rows. Returns false when the file cannot be written.
bool writeBmp24(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace fulmina::assets
