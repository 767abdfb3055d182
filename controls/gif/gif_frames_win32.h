#pragma once
// The animated GIF control's pixels: every frame decoded once into one 8-bit
// strip (frames side by side as palette indices), each frame's colour table
// loaded into the strip when it is drawn, transparency drawn with a mask
// pass, and GIF disposal carried out in a 24-bit composition buffer with a
// 1-bit mask when the frames need one. Each frame is composed once, when it
// comes on screen; painting draws the composed picture.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "common/handles_win32.h"
#include "common/memory_bitmap_win32.h"
#include "controls/gif/gif_decoder.h"
#include "controls/gif/gif_layout.h"
#include "controls/gif/gif_stream.h"

namespace fulmina::gif {

class GifFrames {
public:
    GifFrames() = default;
    GifFrames(const GifFrames&) = delete;
    GifFrames& operator=(const GifFrames&) = delete;

    // Scans the GIF file and makes the strip and, when the frames need it,
    // the composition buffer (at run time with more than one frame). False
    // for a file that is no usable GIF or would pass the memory limits;
    // nothing is then left.
    bool create(std::vector<std::uint8_t> file, bool userMode);
    // Empty again, with everything a load made released.
    void reset();

    // Decodes frames first to last (1-based) into the strip.
    void decodeFrames(std::int32_t first, std::int32_t last);
    // The GIF file, no longer needed once every frame is in the strip.
    void dropFile() { file.clear(); file.shrink_to_fit(); }
    const std::vector<std::uint8_t>& fileBytes() const { return file; }

    bool loaded() const { return !stream.frames.empty() && strip; }
    std::int32_t frameCount() const { return static_cast<std::int32_t>(stream.frames.size()); }
    const GifFrame& frame(std::int32_t index) const { return stream.frames[static_cast<std::size_t>(index - 1)]; }
    std::int32_t actualWidth() const { return stream.ActualWidth; }
    std::int32_t actualHeight() const { return stream.ActualHeight; }
    std::int32_t fileLoops() const { return stream.Loops; }
    std::vector<std::int32_t> delays() const;
    bool hasCompositionBuffer() const { return static_cast<bool>(composition); }
    bool hasMaskBuffer() const { return static_cast<bool>(mask); }

    float ScaleX = 0, ScaleY = 0;
    // The size and scale of a Stretch mode for the control's inner size.
    Fit fit(long width, long height, FitMode mode);

    // Paints frame index (1-based) at the current scale, the control's
    // top-left at (x, y) of dc. False when index is 0. With a composition
    // buffer, the frames since the one composed last are composed first
    // (from frame 1 again when index lies before it).
    bool paintCurrentFrame(std::int32_t index, HDC dc, int x, int y);

    // Flips frames first to last by flip (bit 0 horizontally, bit 1
    // vertically), and the composition buffer too when asked.
    void mirrorFrames(int flip, std::int32_t first, std::int32_t last, bool alsoBuffer);

    // The frame's pixels as a single-image GIF, read from the strip.
    std::vector<std::uint8_t> exportFrame(std::int32_t index) const;

    // The strip's palette row last loaded: -1 none, 0 after a reset.
    int currentPaletteRow() const { return currentRow; }

private:
    void drawFrame(std::int32_t index, HDC dc, bool stretch, const RECT& rect);
    void drawComposition(HDC dc, bool stretch, const RECT& rect);
    void loadRow(std::int32_t paletteIndex, int transparentIndex);
    void loadMaskPalette(int whiteIndex);
    void composeThrough(std::int32_t index);
    void composeBefore(std::int32_t index);
    void composeAfter(std::int32_t index);

    std::vector<std::uint8_t> file;
    GifStream stream;
    std::vector<long> stripX;  // each frame's column in the strip
    long stripWidth = 0;
    LzwDecoder decoder;
    // All bottom-up: the strip 8-bit, StripWidth x ActualHeight; the canvas
    // 24-bit; its mask 1-bit, white transparent.
    handles::MemoryBitmap strip;
    handles::MemoryBitmap composition;
    handles::MemoryBitmap mask;
    int currentRow = 0;
    std::int32_t composed = 0;  // the frame the composition buffer holds; 0 none
    SavedArea saved;            // the area under it, when its disposal is 3
};

}  // namespace fulmina::gif
