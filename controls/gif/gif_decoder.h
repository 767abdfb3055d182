#pragma once
// Decodes a frame's LZW image data into palette indices, written straight
// into the caller's buffer: the frame's top-left pixel at an offset, its
// rows a stride apart (negative for a buffer whose rows run bottom up).
// Interlaced images are put in their rows as they come. A corrupt or cut-off
// stream ends the frame where it goes wrong and keeps what came before it;
// nothing is read or written outside the two buffers.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "controls/gif/gif_stream.h"

namespace fulmina::gif {

struct IndexTarget {
    std::uint8_t* buffer = nullptr;
    std::size_t size = 0;
    std::ptrdiff_t origin = 0;  // offset of the frame's top-left pixel
    std::ptrdiff_t stride = 0;  // from one row to the next one down
};

enum class DecodeStatus {
    complete,    // every pixel of the frame
    incomplete,  // the data or an early end code stopped it: the pixels before are kept
    corrupt,     // a code that cannot be: the pixels before it are kept
    badTarget,   // the frame does not fit the target, or its chunk is no image: nothing written
};

// All of one decoder's working state; reused from frame to frame.
class LzwDecoder {
public:
    DecodeStatus decode(const std::uint8_t* file, std::size_t fileSize, const GifChunk& chunk,
                        const GifFrame& frame, const IndexTarget& target);

private:
    static constexpr int maxCodes = 4096;
    std::uint16_t prefix[maxCodes];
    std::uint8_t suffix[maxCodes];
    std::uint8_t first[maxCodes];
    std::uint16_t length[maxCodes];
    std::uint8_t stack[maxCodes];
    std::vector<std::uint8_t> data;  // the image's sub-blocks joined
};

}  // namespace fulmina::gif
