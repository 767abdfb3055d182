#include "controls/gif/gif_frames_win32.h"

#include <algorithm>
#include <cstring>

#include "controls/gif/gif_writer.h"

namespace fulmina::gif {

namespace {

// A bottom-up picture's pixels as the layout arithmetic walks them.
Pixels pixelsOf(const handles::MemoryBitmap& picture) {
    return {picture.bits(), static_cast<long>(picture.stride()), picture.height()};
}

// The strip's table while nothing is drawn: entry i is (0, 0, i).
void identity(RGBQUAD* colours) {
    for (int i = 0; i < 256; ++i) colours[i] = RGBQUAD{static_cast<BYTE>(i), 0, 0, 0};
}

RECT box(long x, long y, long width, long height) { return RECT{x, y, width, height}; }

// Stretching draws in HALFTONE, as the DC's own mode and brush origin are
// given back afterwards.
class StretchMode {
public:
    StretchMode(HDC dc, bool stretch) : dc(dc), active(stretch) {
        if (!active) return;
        oldMode = SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    }
    ~StretchMode() {
        if (!active) return;
        SetStretchBltMode(dc, oldMode);
        SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    }

private:
    HDC dc;
    bool active;
    int oldMode = 0;
    POINT oldOrigin{};
};

void blit(HDC dc, const RECT& to, bool stretch, HDC source, long sx, long sy, long sw, long sh, DWORD rop) {
    if (stretch)
        StretchBlt(dc, to.left, to.top, to.right, to.bottom, source, sx, sy, sw, sh, rop);
    else
        BitBlt(dc, to.left, to.top, to.right, to.bottom, source, sx, sy, rop);
}

}  // namespace

bool GifFrames::create(std::vector<std::uint8_t> bytes, bool userMode) {
    reset();
    file = std::move(bytes);
    if (file.empty() || parseGifStream(file.data(), file.size(), stream) == 0 || !fitsInMemory(stream)) {
        reset();
        return false;
    }
    const auto& frames = stream.frames;
    stripWidth = 0;
    bool anyTransparent = false, allDispose2 = true, needMask = false;
    for (const GifFrame& f : frames) {
        stripX.push_back(stripWidth);
        stripWidth += f.Width;
        anyTransparent |= f.HasTransparency != 0;
        allDispose2 &= f.Disposal == 2;
        needMask |= f.Disposal == 2 || f.Disposal == 3;
    }
    const GifFrame& first = frames[0];
    using Rows = handles::MemoryBitmap::Rows;
    if (!userMode || frames.size() == 1) {
        stripWidth = first.Width;  // only frame 1 is ever decoded
    } else if (!allDispose2) {
        composition = handles::MemoryBitmap(stream.ActualWidth, stream.ActualHeight, 24, Rows::bottomUp);
        if (!composition) {
            reset();
            return false;
        }
        const bool coversCanvas = first.Width == stream.ActualWidth && first.Height == stream.ActualHeight;
        if (needMask || first.HasTransparency || (anyTransparent && !coversCanvas)) {
            const RGBQUAD blackWhite[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
            mask = handles::MemoryBitmap(stream.ActualWidth, stream.ActualHeight, 1, Rows::bottomUp, blackWhite, 2);
            if (!mask) {
                reset();
                return false;
            }
        }
    }
    RGBQUAD colours[256];
    identity(colours);
    strip = handles::MemoryBitmap(stripWidth, stream.ActualHeight, 8, Rows::bottomUp, colours, 256);
    if (!strip) {
        reset();
        return false;
    }
    currentRow = -1;
    return true;
}

void GifFrames::reset() {
    strip = {};
    mask = {};
    composition = {};
    file.clear();
    stream = GifStream{};
    stripX.clear();
    stripWidth = 0;
    currentRow = 0;
    composed = 0;
    saved = SavedArea{};
    ScaleX = ScaleY = 0;
}

void GifFrames::decodeFrames(std::int32_t firstIndex, std::int32_t last) {
    if (!strip.dc()) return;
    last = std::min(last, frameCount());
    GdiFlush();
    for (std::int32_t i = std::max(firstIndex, 1); i <= last; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        const GifFrame& f = stream.frames[k];
        if (stripX[k] + f.Width > stripWidth) continue;  // not in this strip (design time: frame 1 only)
        // Rows run bottom up: the frame's top row is the strip's last.
        const IndexTarget target{static_cast<std::uint8_t*>(strip.bits()), static_cast<std::size_t>(strip.stride() * stream.ActualHeight),
                                 (stream.ActualHeight - 1) * strip.stride() + stripX[k], -strip.stride()};
        decoder.decode(file.data(), file.size(), stream.chunks[k], f, target);
    }
    if (firstIndex > 1) currentRow = -1;
}

std::vector<std::int32_t> GifFrames::delays() const {
    std::vector<std::int32_t> out;
    for (const GifFrame& f : stream.frames) out.push_back(f.Delay);
    return out;
}

Fit GifFrames::fit(long width, long height, FitMode mode) {
    const Fit f = fitToControl(width, height, mode, stream.ActualWidth, stream.ActualHeight);
    ScaleX = f.scaleX;
    ScaleY = f.scaleY;
    return f;
}

void GifFrames::loadRow(std::int32_t paletteIndex, int transparentIndex) {
    PaletteRow row = stream.palettes.at(static_cast<std::size_t>(paletteIndex));
    if (transparentIndex >= 0) row[static_cast<std::size_t>(transparentIndex)] = 0;
    SetDIBColorTable(strip.dc(), 0, 256, reinterpret_cast<const RGBQUAD*>(row.data()));
}

void GifFrames::loadMaskPalette(int whiteIndex) {
    RGBQUAD colours[256]{};
    if (whiteIndex >= 0) colours[whiteIndex] = RGBQUAD{255, 255, 255, 0};
    SetDIBColorTable(strip.dc(), 0, 256, colours);
}

void GifFrames::drawFrame(std::int32_t index, HDC dc, bool stretch, const RECT& rect) {
    if (rect.right <= 0 || rect.bottom <= 0) return;
    const GifFrame& f = frame(index);
    const long x = stripX[static_cast<std::size_t>(index - 1)];
    StretchMode mode(dc, stretch);
    if (f.HasTransparency) {
        loadMaskPalette(f.TransparentIndex);
        blit(dc, rect, stretch, strip.dc(), x, 0, f.Width, f.Height, SRCAND);
        loadRow(f.PaletteIndex, f.TransparentIndex);
        blit(dc, rect, stretch, strip.dc(), x, 0, f.Width, f.Height, SRCPAINT);
        currentRow = -1;  // the table holds the row with one entry blacked out
        return;
    }
    if (f.PaletteIndex != currentRow) {
        loadRow(f.PaletteIndex, -1);
        currentRow = f.PaletteIndex;
    }
    blit(dc, rect, stretch, strip.dc(), x, 0, f.Width, f.Height, SRCCOPY);
}

void GifFrames::drawComposition(HDC dc, bool stretch, const RECT& rect) {
    if (rect.right <= 0 || rect.bottom <= 0) return;
    StretchMode mode(dc, stretch);
    if (mask) {
        // A 1-bit source takes the text and background colours of the
        // destination: black for 0 (opaque), white for 1 (transparent).
        const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
        const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
        blit(dc, rect, stretch, mask.dc(), 0, 0, stream.ActualWidth, stream.ActualHeight, SRCAND);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
        blit(dc, rect, stretch, composition.dc(), 0, 0, stream.ActualWidth, stream.ActualHeight, SRCPAINT);
    } else {
        blit(dc, rect, stretch, composition.dc(), 0, 0, stream.ActualWidth, stream.ActualHeight, SRCCOPY);
    }
}

// The mask turns opaque (0) wherever the frame has an opaque pixel. Done on
// the bits: the strip's indices tell which pixels those are.
void GifFrames::composeBefore(std::int32_t index) {
    const GifFrame& f = frame(index);
    GdiFlush();
    const Pixels colour = pixelsOf(composition);
    const Pixels maskBits = pixelsOf(mask);
    if (index == 1) {
        std::memset(composition.bits(), 0, static_cast<std::size_t>(composition.stride() * stream.ActualHeight));
        if (mask.bits()) std::memset(mask.bits(), 0xFF, static_cast<std::size_t>(mask.stride() * stream.ActualHeight));
    }
    if (f.Disposal == 3) saveArea(colour, mask.bits() ? &maskBits : nullptr, f.Left, f.Top, f.Width, f.Height, saved);
    if (mask.bits()) {
        const Pixels stripBits = pixelsOf(strip);
        const long x0 = stripX[static_cast<std::size_t>(index - 1)];
        for (long y = 0; y < f.Height; ++y) {
            const std::uint8_t* indices = stripBits.row(y) + x0;
            std::uint8_t* row = maskBits.row(f.Top + y);
            for (long x = 0; x < f.Width; ++x) {
                if (f.HasTransparency && indices[x] == f.TransparentIndex) continue;
                const long at = f.Left + x;
                row[at >> 3] = static_cast<std::uint8_t>(row[at >> 3] & ~(0x80 >> (at & 7)));
            }
        }
    }
    currentRow = -1;
}

void GifFrames::composeAfter(std::int32_t index) {
    const GifFrame& f = frame(index);
    GdiFlush();
    const Pixels colour = pixelsOf(composition);
    const Pixels maskBits = pixelsOf(mask);
    if (f.Disposal == 2) {
        for (long y = 0; y < f.Height; ++y) {
            std::memset(colour.row(f.Top + y) + f.Left * 3, 0, static_cast<std::size_t>(f.Width * 3));
            if (!mask.bits()) continue;
            std::uint8_t* row = maskBits.row(f.Top + y);
            for (long at = f.Left; at < f.Left + f.Width; ++at)
                row[at >> 3] = static_cast<std::uint8_t>(row[at >> 3] | (0x80 >> (at & 7)));
        }
    } else if (f.Disposal == 3) {
        restoreArea(colour, mask.bits() ? &maskBits : nullptr, f.Left, f.Top, f.Width, f.Height, saved);
    }
}

// Brings the composition buffer to frame index: the frame composed last is
// disposed of, and each frame after it composed in turn.
void GifFrames::composeThrough(std::int32_t index) {
    if (composed == index) return;
    std::int32_t next = 1;
    if (composed > 0 && index > composed) {
        composeAfter(composed);
        next = composed + 1;
    }
    composed = 0;  // until done: a composition cut short starts again from frame 1
    for (std::int32_t i = next; i <= index; ++i) {
        if (i > next) composeAfter(i - 1);
        const GifFrame& f = frame(i);
        composeBefore(i);
        drawFrame(i, composition.dc(), false, box(f.Left, f.Top, f.Width, f.Height));
    }
    composed = index;
}

bool GifFrames::paintCurrentFrame(std::int32_t index, HDC dc, int x, int y) {
    if (index <= 0 || index > frameCount() || !strip.dc()) return false;
    const bool stretch = ScaleX != 1 || ScaleY != 1;
    if (composition.dc()) {
        composeThrough(index);
        drawComposition(dc, stretch,
                        box(x, y, roundHalfEven(double(stream.ActualWidth) * ScaleX),
                            roundHalfEven(double(stream.ActualHeight) * ScaleY)));
    } else {
        const GifFrame& f = frame(index);
        drawFrame(index, dc, stretch,
                  box(x + roundHalfEven(double(f.Left) * ScaleX), y + roundHalfEven(double(f.Top) * ScaleY),
                      roundHalfEven(double(f.Width) * ScaleX), roundHalfEven(double(f.Height) * ScaleY)));
    }
    return true;
}

void GifFrames::mirrorFrames(int flip, std::int32_t first, std::int32_t last, bool alsoBuffer) {
    if (flip == 0 || !strip.dc()) return;
    const bool horizontally = flip & 1, vertically = (flip & 2) != 0;
    GdiFlush();
    const Pixels stripBits = pixelsOf(strip);
    for (std::int32_t i = std::max(first, 1); i <= std::min(last, frameCount()); ++i) {
        GifFrame& f = stream.frames[static_cast<std::size_t>(i - 1)];
        const long x = stripX[static_cast<std::size_t>(i - 1)];
        if (x + f.Width > stripWidth) continue;
        mirrorBytes(stripBits, 1, x, 0, f.Width, f.Height, horizontally, vertically);
        if (horizontally) f.Left = stream.ActualWidth - (f.Left + f.Width);
        if (vertically) f.Top = stream.ActualHeight - (f.Top + f.Height);
    }
    if (alsoBuffer && composition.bits()) {
        mirrorBytes(pixelsOf(composition), 3, 0, 0, stream.ActualWidth, stream.ActualHeight,
                    horizontally, vertically);
        if (mask.bits()) mirrorBits(pixelsOf(mask), stream.ActualWidth, horizontally, vertically);
        saved.mirror(horizontally, vertically);
    }
}

std::vector<std::uint8_t> GifFrames::exportFrame(std::int32_t index) const {
    if (index <= 0 || index > frameCount() || !strip.bits()) return {};
    const GifFrame& f = frame(index);
    const long x = stripX[static_cast<std::size_t>(index - 1)];
    if (x + f.Width > stripWidth) return {};
    GdiFlush();
    const Pixels stripBits = pixelsOf(strip);
    return writeFrameGif({stripBits.row(0) + x, -strip.stride()}, f.Width, f.Height,
                         stream.palettes.at(static_cast<std::size_t>(f.PaletteIndex)), f.HasTransparency != 0,
                         f.TransparentIndex);
}

}  // namespace fulmina::gif
