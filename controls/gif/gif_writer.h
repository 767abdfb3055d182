#pragma once
// Writes one frame as a standalone single-image GIF89a in memory: the frame's
// own size, its 256 colours as the global table, a graphic control extension
// when it has a transparent colour, and its pixels compressed with a hashed
// LZW encoder in the manner of the classic Unix compress. The encoder keeps
// nothing between calls.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "controls/gif/gif_stream.h"

namespace fulmina::gif {

// The frame's palette indices: its top-left pixel, rows a stride apart.
struct IndexSource {
    const std::uint8_t* topLeft = nullptr;
    std::ptrdiff_t stride = 0;
};

// The file's bytes; empty for a frame without pixels.
std::vector<std::uint8_t> writeFrameGif(const IndexSource& pixels, int width, int height, const PaletteRow& colours,
                                        bool hasTransparency, std::uint8_t transparentIndex);

}  // namespace fulmina::gif
