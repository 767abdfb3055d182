#pragma once
// The one writer of BMP files: uncompressed 24-bit pictures, as the host
// saves its glow texture and picture boxes, and as the build makes the
// programs' pictures.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace bmp {

// Bytes per row of a 24-bit picture: whole 32-bit words.
std::size_t rowStride24(int width);

// The whole file for width x height pixels given as a DIB holds them: rows
// bottom-up, each B, G, R per pixel and padded to rowStride24 bytes. Empty
// when the size is not positive.
std::vector<std::uint8_t> file24(int width, int height, const std::uint8_t* rows);

// The same from R, G, B pixels in rows top-down without padding; empty when
// the pixels do not fill the size.
std::vector<std::uint8_t> file24FromRgb(int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace bmp
