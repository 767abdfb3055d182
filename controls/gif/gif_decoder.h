#pragma once
// Decodes a frame's LZW image data into palette indices, written straight
// into the caller's buffer: the frame's top-left pixel at an offset, its
// rows a stride apart (negative for a buffer whose rows run bottom up).
// Interlaced images are put in their rows as they come. A corrupt or cut-off
// stream ends the frame where it goes wrong and keeps what came before it;
// nothing is read or written outside the two buffers, and no pixel past the
// last one decoded is changed.
#include <cstddef>
#include <cstdint>

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

// All of one decoder's working state, of a fixed size, reused from frame to
// frame and from load to load.
class LzwDecoder {
public:
    DecodeStatus decode(const std::uint8_t* file, std::size_t fileSize, const GifChunk& chunk,
                        const GifFrame& frame, const IndexTarget& target);

    static constexpr int maxCodes = 4096;
    static constexpr int longestString = maxCodes;  // a string grows by one byte a code

    // A string of the table: its last 8 bytes as they lie in memory, the
    // last byte highest (a shorter string's bytes at the top, zeros below),
    // and in meta, as pack() makes it, its length, its head (the entry of
    // its first (length - 1) / 8 * 8 bytes) and its first byte. So a string
    // is written in 8-byte stores, its heads' last bytes from its start and
    // then its own at its end: (length + 7) / 8 stores, their number known
    // before the first.
    struct Entry {
        std::uint64_t ending;
        std::uint32_t meta;
    };
    static constexpr std::uint32_t pack(unsigned length, unsigned head, unsigned first) {
        return length | head << 12 | first << 24;  // 12, 12 and 8 bits: no string is 4096 long
    }

private:
    Entry table[maxCodes];
    // A string on its way into rows that it does not fit in one piece,
    // after 8 bytes of room for the store that ends a short string.
    std::uint8_t scratch[8 + longestString];
};

}  // namespace fulmina::gif
