#pragma once
// A GIF file as the animated GIF control holds it: the scan of its byte
// buffer into frames (rectangle, delay, colour table, transparency,
// disposal), the chunk of the file that holds each frame's image, the
// colour tables, the canvas and the loop count. The scan decodes no pixels.
//
// Positions are 0-based offsets into the byte buffer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fulmina::gif {

struct GifFrame {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t Delay = 0;          // milliseconds
    std::int32_t PaletteIndex = 0;   // 0 the global table, n the n-th local table
    std::int32_t StreamStart = 0;    // the frame's first block: its graphic control extension or its image
    std::uint8_t TransparentIndex = 0;
    std::uint8_t HasTransparency = 0;
    std::uint8_t Disposal = 0;       // 0 to 3
};

// The bytes of one image: descriptor, local table, code size, data
// sub-blocks and terminator. A cut-off image's Length may reach past the end
// of the buffer: every copy must stop there. The scan also records what the
// decoder needs from the descriptor, so that nothing reads it again.
struct GifChunk {
    std::int32_t Length = 0;
    std::int32_t Start = 0;      // the image separator 0x2C
    std::int32_t DataStart = 0;  // the size byte of the first data sub-block
    std::uint8_t CodeSize = 0;   // the LZW minimum code size, as the file gives it
    std::uint8_t Interlaced = 0;
};

// 256 colours 0x00RRGGBB, in the order of a DIB colour table.
using PaletteRow = std::array<std::uint32_t, 256>;

struct GifStream {
    std::vector<GifFrame> frames;
    std::vector<GifChunk> chunks;      // one a frame
    std::vector<PaletteRow> palettes;  // row 0 the global table, row k the k-th local table
    std::int32_t ActualWidth = 0;      // the union of the frames, from the origin
    std::int32_t ActualHeight = 0;
    std::int32_t Loops = 0;            // from "NETSCAPE2.0"; 0 when the file has none
};

// The file's header as a download is checked by it: the signature (GIF87a or
// GIF89a, in any case) and the logical screen's size.
struct GifHeader {
    bool valid = false;
    std::int32_t ScreenWidth = 0;
    std::int32_t ScreenHeight = 0;
};
GifHeader readGifHeader(const std::uint8_t* bytes, std::size_t size);

// The most frames a stream holds; an image past it ends the scan.
constexpr std::int32_t maxFrames = 32762;

// Scans a GIF file into stream (emptied first). Returns the number of frames
// accepted; 0 means the load fails (bad signature, no frames, or an image
// without any colour table). Data that ends early keeps the frames before it.
std::int32_t parseGifStream(const std::uint8_t* bytes, std::size_t size, GifStream& stream);

// Limits that real animated GIFs never reach. A load whose canvas or frame
// strip (every frame side by side, one byte a pixel, canvas high) would pass
// them fails before anything is allocated for it.
constexpr std::int64_t maxCanvasPixels = std::int64_t{32} * 1024 * 1024;
constexpr std::int64_t maxStripBytes = std::int64_t{256} * 1024 * 1024;
bool fitsInMemory(const GifStream& stream);

}  // namespace fulmina::gif
